#include "setup/core/InfFile.h"

#include <cerrno>
#include <charconv>

#include "platform/core/AtomicFile.h"
#include "platform/core/StringTable.h"
#include "platform/core/Utf8Text.h"
#include "setup/core/SetupResIds.h"
#include "setup/core/SetupText.h"

namespace vyn {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The line without its comment; false when a quotation mark is not closed.
bool StripComment(std::string_view line, std::string_view& out)
{
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        else if (line[i] == ';' && !quoted) {
            out = line.substr(0, i);
            return true;
        }
    }
    out = line;
    return !quoted;
}

bool IsAllDigits(std::string_view s)
{
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

bool InfFile::Fail(int id, const std::string& where)
{
    Close();
    errorId_ = id;
    error_ = FormatWithArg(GetResString(id), where.c_str());
    return false;
}

void InfFile::Close()
{
    open_ = false;
    sections_.clear();
    strings_.clear();
}

bool InfFile::Open(const std::string& path)
{
    path_ = path;
    Close();
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return Fail(kIdsInfCannotOpen, path);
    return Parse(bytes, path);
}

bool InfFile::Parse(std::string_view bytes, const std::string& name)
{
    Close();
    name_ = FileNameOf(name);
    errorId_ = 0;
    error_.clear();
    if (bytes.size() > kMaxFileSize) return Fail(kIdsInfTooLarge, name_);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);

    InfSection* current = nullptr;
    std::string logical;
    int logicalStart = 0;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view raw = bytes.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        // Checked before decoding, so that a huge line is refused without being copied.
        if (raw.size() > kMaxLineLength || logical.size() + raw.size() > kMaxLineLength)
            return Fail(kIdsInfLineTooLong, name_ + ", line " + std::to_string(logical.empty() ? lineNo : logicalStart));
        if (raw.find('\0') != std::string_view::npos)
            return Fail(kIdsInfDamagedLine, name_ + ", line " + std::to_string(lineNo));
        std::string text = Utf8FromLegacyBytes(raw);
        if (logical.empty()) logicalStart = lineNo;
        std::string_view body;
        if (!StripComment(text, body)) {
            // A quote left open by a continued line may close on the next one only when the
            // continuation was inside quotes, which the file format does not allow.
            return Fail(kIdsInfUnclosedQuote, name_ + ", line " + std::to_string(lineNo));
        }
        body = TrimBlanks(body);
        if (!body.empty() && body.back() == '\\') {
            body.remove_suffix(1);
            logical.append(body);
            if (logical.size() > kMaxLineLength)
                return Fail(kIdsInfLineTooLong, name_ + ", line " + std::to_string(logicalStart));
            continue;
        }
        logical.append(body);
        if (logical.size() > kMaxLineLength)
            return Fail(kIdsInfLineTooLong, name_ + ", line " + std::to_string(logicalStart));
        if (!ParseLogicalLine(logical, logicalStart, current)) return false;
        logical.clear();
    }
    if (!logical.empty() && !ParseLogicalLine(logical, logicalStart, current)) return false;

    for (const InfSection& s : sections_)
        if (EqualsNoCase(s.name, "Strings"))
            for (const InfLine& l : s.lines)
                if (l.hasKey && l.fields.size() > 1) {
                    // A string's value is not substituted again; only its "%%" gives one '%'.
                    std::string v;
                    for (std::size_t i = 0; i < l.fields[1].size(); ++i) {
                        v += l.fields[1][i];
                        if (l.fields[1][i] == '%' && i + 1 < l.fields[1].size() && l.fields[1][i + 1] == '%') ++i;
                    }
                    strings_.emplace(LowerAscii(l.fields[0]), v);
                }
    if (!CheckStrings()) return false;
    open_ = true;
    return true;
}

bool InfFile::ParseLogicalLine(std::string_view text, int lineNo, InfSection*& current)
{
    const std::string where = name_ + ", line " + std::to_string(lineNo);
    text = TrimBlanks(text);
    if (text.empty()) return true;
    if (text.front() == '[') {
        std::size_t close = text.find(']');
        if (close == std::string_view::npos) return Fail(kIdsInfUnclosedSection, where);
        if (!TrimBlanks(text.substr(close + 1)).empty()) return Fail(kIdsInfTextAfterSection, where);
        std::string_view name = TrimBlanks(text.substr(1, close - 1));
        if (name.empty()) return Fail(kIdsInfDamagedLine, where);
        for (InfSection& s : sections_)
            if (EqualsNoCase(s.name, name)) {
                current = &s;
                return true;
            }
        sections_.push_back(InfSection{std::string(name), {}});
        current = &sections_.back();
        return true;
    }
    if (!current) return Fail(kIdsInfOutsideSection, where);

    InfLine line;
    line.lineNo = lineNo;
    line.fields.emplace_back();  // the key
    std::string field;
    bool quoted = false;
    bool inKey = true;
    // Blanks are kept inside quotes and between words, dropped around each field.
    std::string pendingBlanks;
    bool fieldStarted = false;
    auto endField = [&] {
        line.fields.push_back(field);
        field.clear();
        pendingBlanks.clear();
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == '"') {
            field += pendingBlanks;
            pendingBlanks.clear();
            quoted = true;
            fieldStarted = true;
        } else if (c == '=' && inKey) {
            line.hasKey = true;
            line.fields[0] = field;
            field.clear();
            pendingBlanks.clear();
            fieldStarted = false;
            inKey = false;
        } else if (c == ',') {
            inKey = false;
            endField();
        } else if (IsBlank(c)) {
            if (fieldStarted) pendingBlanks += c;
        } else {
            field += pendingBlanks;
            pendingBlanks.clear();
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) return Fail(kIdsInfUnclosedQuote, where);
    // A key with nothing after '=' still has one (empty) value.
    if (line.hasKey || fieldStarted || line.fields.size() > 1 || !field.empty()) line.fields.push_back(field);
    current->lines.push_back(std::move(line));
    return true;
}

bool InfFile::CheckStrings()
{
    for (const InfSection& s : sections_) {
        if (EqualsNoCase(s.name, "Strings")) continue;
        for (const InfLine& l : s.lines)
            for (const std::string& f : l.fields) {
                std::size_t p = 0;
                while ((p = f.find('%', p)) != std::string::npos) {
                    std::size_t q = f.find('%', p + 1);
                    if (q == std::string::npos) break;  // a lone '%' stays as it is
                    std::string_view name(f.data() + p + 1, q - p - 1);
                    if (!name.empty() && !IsAllDigits(name) && !strings_.count(LowerAscii(name)))
                        return Fail(kIdsInfUndefinedString,
                                    "%" + std::string(name) + "% (" + name_ + ", line " + std::to_string(l.lineNo) + ")");
                    p = q + 1;
                }
            }
    }
    return true;
}

std::string InfFile::Substitute(const std::string& raw) const
{
    std::string out;
    std::size_t p = 0;
    while (p < raw.size()) {
        std::size_t a = raw.find('%', p);
        if (a == std::string::npos) break;
        std::size_t b = raw.find('%', a + 1);
        if (b == std::string::npos) break;
        out.append(raw, p, a - p);
        std::string name = raw.substr(a + 1, b - a - 1);
        if (name.empty()) {
            out += '%';
        } else if (IsAllDigits(name)) {
            int id = 0;
            auto r = std::from_chars(name.data(), name.data() + name.size(), id);
            auto it = r.ec == std::errc() ? dirIds_.find(id) : dirIds_.end();
            if (it != dirIds_.end()) {
                std::string dir = it->second;
                // "%66000%/file" must not give a doubled slash.
                if (!dir.empty() && dir.back() == '/' && b + 1 < raw.size() && raw[b + 1] == '/') dir.pop_back();
                out += dir;
            } else {
                out += raw.substr(a, b - a + 1);
            }
        } else {
            auto it = strings_.find(LowerAscii(name));
            out += it != strings_.end() ? it->second : raw.substr(a, b - a + 1);
        }
        p = b + 1;
    }
    out.append(raw, p, std::string::npos);
    return out;
}

const InfSection* InfFile::FindSection(std::string_view name) const
{
    if (!open_) return nullptr;
    for (const InfSection& s : sections_)
        if (EqualsNoCase(s.name, name)) return &s;
    return nullptr;
}

const InfLine* InfFile::FindLine(std::string_view section, std::string_view key) const
{
    const InfSection* s = FindSection(section);
    if (!s) return nullptr;
    for (const InfLine& l : s->lines)
        if (l.hasKey && EqualsNoCase(Substitute(l.fields[0]), key)) return &l;
    return nullptr;
}

bool InfFile::GetField(const InfLine& line, int index, std::string& out) const
{
    if (index < 0 || index >= static_cast<int>(line.fields.size())) return false;
    out = Substitute(line.fields[static_cast<std::size_t>(index)]);
    return true;
}

std::string InfFile::LineText(const InfLine& line) const
{
    std::string out;
    for (std::size_t i = 1; i < line.fields.size(); ++i) {
        if (i > 1) out += ',';
        out += Substitute(line.fields[i]);
    }
    return out;
}

void InfFile::SetDirectoryId(int id, const std::string& path) { dirIds_[id] = path; }

bool InfFile::GetTargetPath(std::string_view section, std::string& out) const
{
    const InfLine* l = FindLine("DestinationDirs", section);
    if (!l) l = FindLine("DestinationDirs", "DefaultDestDir");
    std::string idText;
    if (!l || !GetField(*l, 1, idText)) return false;
    int id = 0;
    auto r = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    if (r.ec != std::errc() || r.ptr != idText.data() + idText.size()) return false;
    auto it = dirIds_.find(id);
    if (it == dirIds_.end() || it->second.empty()) return false;
    std::string path = it->second;
    std::string sub;
    if (GetField(*l, 2, sub) && !sub.empty()) {
        // A sub-folder stays inside its directory.
        if (sub.front() == '/' || sub == ".." || sub.find("../") != std::string::npos ||
            (sub.size() >= 3 && sub.compare(sub.size() - 3, 3, "/..") == 0))
            return false;
        EnsureTrailingSlash(path);
        path += sub;
    }
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    out = path;
    return true;
}

std::string GetInfString(const InfFile& inf, std::string_view section, std::string_view key, const char* defaultText)
{
    if (inf.IsOpen())
        if (const InfLine* l = inf.FindLine(section, key)) return inf.LineText(*l);
    return defaultText ? defaultText : "";
}

}  // namespace vyn
