#include "platform/core/ProfileFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/core/AsciiText.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/ConfigDir.h"

namespace vyn {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trim(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// One line of the file as written, and what it means.
struct Line {
    enum Kind { Other, Section, Entry } kind = Other;
    std::string text;  // without its line end
    std::string name;  // section name or key
    std::string value;
};

struct Document {
    std::vector<Line> lines;
    std::string eol = "\n";
    bool finalEol = true;
};

Line ParseLine(const std::string& text)
{
    Line line;
    line.text = text;
    const std::string t = Trim(text);
    if (t.empty() || t[0] == ';') return line;
    if (t[0] == '[') {
        const std::size_t close = t.find(']');
        line.kind = Line::Section;
        line.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return line;
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos) return line;
    line.kind = Line::Entry;
    line.name = Trim(t.substr(0, eq));
    std::string v = Trim(t.substr(eq + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    line.value = v;
    return line;
}

Document Parse(const std::string& content)
{
    Document doc;
    if (content.find("\r\n") != std::string::npos) doc.eol = "\r\n";
    doc.finalEol = content.empty() || content.back() == '\n';
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t nl = content.find('\n', pos);
        if (nl == std::string::npos) nl = content.size();
        std::string text = content.substr(pos, nl - pos);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        doc.lines.push_back(ParseLine(text));
        pos = nl + 1;
    }
    return doc;
}

std::string Serialize(const Document& doc)
{
    std::string out;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        out += doc.lines[i].text;
        if (i + 1 < doc.lines.size() || doc.finalEol) out += doc.eol;
    }
    return out;
}

bool Load(const std::string& path, Document& doc)
{
    std::string content;
    if (!ReadWholeFile(path, content)) return false;
    doc = Parse(content);
    return true;
}

// [first, last) of the lines that belong to the first section of that name (after its header).
bool FindSection(const Document& doc, const std::string& section, std::size_t& header, std::size_t& end)
{
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        if (doc.lines[i].kind != Line::Section || !EqualsNoCase(doc.lines[i].name, section)) continue;
        header = i;
        end = i + 1;
        while (end < doc.lines.size() && doc.lines[end].kind != Line::Section) ++end;
        return true;
    }
    return false;
}

// Rereads, changes and rewrites the file under its lock; change answers whether it changed anything.
bool Update(const std::string& path, const std::function<bool(Document&)>& change)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash))) return false;
    FileLock lock(path);
    if (!lock.Locked()) return false;
    Document doc;
    std::string content;
    bool exists = false;
    if (ReadWholeFile(path, content, &exists))
        doc = Parse(content);
    else if (exists)
        return false;  // unreadable: never replace what we could not read
    if (!change(doc)) return true;
    const std::string changed = Serialize(doc);
    if (exists && changed == content) return true;
    // The rename of the rewrite would replace a file whose mode forbids writing (and root may
    // write any file): the user made it read-only to keep it as it is, so it stays so.
    if (IsReadOnlyProfile(path)) return false;
    return WriteFileAtomic(path, changed);
}

}  // namespace

bool IsReadOnlyProfile(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // By the mode first: an open for writing succeeds for root whatever the mode says.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return ::access(path.c_str(), W_OK) != 0;
}

bool ProfileFile::ReadOnly() const { return IsReadOnlyProfile(path_); }

ProfileFile::ProfileFile(const std::string& name) : path_(ResolvePath(name)) {}

std::string ProfileFile::ResolvePath(const std::string& name)
{
    if (name.find('/') != std::string::npos) return name;
    return ConfigDir() + "/" + name;
}

bool ProfileFile::Read(const std::string& section, const std::string& key, std::string& value) const
{
    Document doc;
    std::size_t header, end;
    if (!Load(path_, doc) || !FindSection(doc, section, header, end)) return false;
    for (std::size_t i = header + 1; i < end; ++i) {
        if (doc.lines[i].kind == Line::Entry && EqualsNoCase(doc.lines[i].name, key)) {
            value = doc.lines[i].value;
            return true;
        }
    }
    return false;
}

std::vector<std::string> ProfileFile::Keys(const std::string& section) const
{
    std::vector<std::string> keys;
    Document doc;
    std::size_t header, end;
    if (!Load(path_, doc) || !FindSection(doc, section, header, end)) return keys;
    for (std::size_t i = header + 1; i < end; ++i)
        if (doc.lines[i].kind == Line::Entry) keys.push_back(doc.lines[i].name);
    return keys;
}

std::vector<std::string> ProfileFile::Sections() const
{
    std::vector<std::string> names;
    Document doc;
    if (!Load(path_, doc)) return names;
    for (const Line& l : doc.lines)
        if (l.kind == Line::Section) names.push_back(l.name);
    return names;
}

bool ProfileFile::Write(const std::string& section, const std::string& key, const std::string& value)
{
    // A line end inside a value would split it into lines of its own.
    std::string clean = value;
    std::replace_if(clean.begin(), clean.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    const std::string text = key + "=" + clean;
    return Update(path_, [&](Document& doc) {
        std::size_t header, end;
        if (!FindSection(doc, section, header, end)) {
            if (!doc.lines.empty() && !Trim(doc.lines.back().text).empty()) doc.lines.push_back(ParseLine(""));
            doc.lines.push_back(ParseLine("[" + section + "]"));
            doc.lines.push_back(ParseLine(text));
            doc.finalEol = true;
            return true;
        }
        std::size_t insertAt = header + 1;
        for (std::size_t i = header + 1; i < end; ++i) {
            if (doc.lines[i].kind == Line::Entry && EqualsNoCase(doc.lines[i].name, key)) {
                if (doc.lines[i].text == text) return false;
                doc.lines[i] = ParseLine(text);
                return true;
            }
            if (!Trim(doc.lines[i].text).empty()) insertAt = i + 1;
        }
        doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), ParseLine(text));
        if (insertAt == doc.lines.size() - 1) doc.finalEol = true;
        return true;
    });
}

bool ProfileFile::DeleteKey(const std::string& section, const std::string& key)
{
    return Update(path_, [&](Document& doc) {
        std::size_t header, end;
        if (!FindSection(doc, section, header, end)) return false;
        for (std::size_t i = header + 1; i < end; ++i) {
            if (doc.lines[i].kind == Line::Entry && EqualsNoCase(doc.lines[i].name, key)) {
                doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(i));
                return true;
            }
        }
        return false;
    });
}

bool ProfileFile::DeleteSection(const std::string& section)
{
    return Update(path_, [&](Document& doc) {
        std::size_t header, end;
        if (!FindSection(doc, section, header, end)) return false;
        doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(header),
                        doc.lines.begin() + static_cast<std::ptrdiff_t>(end));
        return true;
    });
}

bool ProfileFile::ReplaceSection(const std::string& section,
                                 const std::vector<std::pair<std::string, std::string>>& entries)
{
    return Update(path_, [&](Document& doc) {
        std::vector<Line> lines;
        for (const auto& [key, value] : entries) {
            std::string clean = value;
            std::replace_if(clean.begin(), clean.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
            lines.push_back(ParseLine(key + "=" + clean));
        }
        // The section keeps the place of its first appearance; any later ones go.
        std::size_t at = doc.lines.size();
        bool found = false;
        std::size_t header, end;
        while (FindSection(doc, section, header, end)) {
            if (!found) at = header;
            found = true;
            doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(header),
                            doc.lines.begin() + static_cast<std::ptrdiff_t>(end));
        }
        if (lines.empty()) return found;
        if (!found && !doc.lines.empty() && !Trim(doc.lines.back().text).empty()) {
            doc.lines.push_back(ParseLine(""));
            at = doc.lines.size();
        }
        lines.insert(lines.begin(), ParseLine("[" + section + "]"));
        doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(at), lines.begin(), lines.end());
        if (at + lines.size() == doc.lines.size()) doc.finalEol = true;
        return true;
    });
}

int GetPrivateProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                            int size, const char* fileName)
{
    if (!buffer || size <= 0) return 0;
    std::string value;
    if (!section || !key || !fileName || !ProfileFile(fileName).Read(section, key, value)) {
        value = defaultText ? defaultText : "";
        while (!value.empty() && value.back() == ' ') value.pop_back();
    }
    const std::size_t n = std::min(value.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

int GetPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* fileName)
{
    std::string value;
    if (!section || !key || !fileName || !ProfileFile(fileName).Read(section, key, value) || value.empty())
        return defaultValue;
    const char* p = value.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    unsigned base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) base = 16, p += 2;
    else if (p[0] == '0' && (p[1] == 'o' || p[1] == 'O')) base = 8, p += 2;
    else if (p[0] == '0' && (p[1] == 'b' || p[1] == 'B')) base = 2, p += 2;
    // Wraps like the 32-bit arithmetic of the original call rather than overflowing.
    std::uint32_t result = 0;
    for (;; ++p) {
        unsigned digit;
        if (*p >= '0' && *p <= '9') digit = static_cast<unsigned>(*p - '0');
        else if (*p >= 'a' && *p <= 'f') digit = static_cast<unsigned>(*p - 'a' + 10);
        else if (*p >= 'A' && *p <= 'F') digit = static_cast<unsigned>(*p - 'A' + 10);
        else break;
        if (digit >= base) break;
        result = result * base + digit;
    }
    if (negative) result = 0u - result;
    return static_cast<int>(result);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value, const char* fileName)
{
    if (!section || !fileName) return false;
    ProfileFile file(fileName);
    if (!key) return file.DeleteSection(section);
    if (!value) return file.DeleteKey(section, key);
    return file.Write(section, key, value);
}

}  // namespace vyn
