#include "platform/core/Registry.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "platform/core/AsciiText.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/ConfigDir.h"

namespace vyn {

namespace {

constexpr const char* kHeader = "VYN REGISTRY 1";

struct Value {
    std::string name;
    std::uint32_t type = REG_NONE;
    std::vector<unsigned char> data;
};

struct Key {
    std::string path;
    std::vector<Value> values;
};

struct Store {
    std::vector<Key> keys;  // every key explicitly, parents before children, in order of creation
};


// "\a\\b\" and "a\b" name the same key.
std::string NormalizePath(const std::string& path)
{
    std::string out;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t next = path.find('\\', pos);
        if (next == std::string::npos) next = path.size();
        if (next > pos) {
            if (!out.empty()) out += '\\';
            out.append(path, pos, next - pos);
        }
        pos = next + 1;
    }
    return out;
}

bool IsBelow(const std::string& path, const std::string& parent)
{
    if (parent.empty()) return !path.empty();
    return path.size() > parent.size() && path[parent.size()] == '\\' && EqualsNoCase(path.substr(0, parent.size()), parent);
}

Key* FindKey(Store& s, const std::string& path)
{
    for (Key& k : s.keys)
        if (EqualsNoCase(k.path, path)) return &k;
    return nullptr;
}

Value* FindValue(Key& k, const std::string& name)
{
    for (Value& v : k.values)
        if (EqualsNoCase(v.name, name)) return &v;
    return nullptr;
}

bool HasSubKeys(const Store& s, const std::string& path)
{
    return std::any_of(s.keys.begin(), s.keys.end(), [&](const Key& k) { return IsBelow(k.path, path); });
}

// --- the store file ---------------------------------------------------------------------

void PutQuoted(std::string& out, const unsigned char* p, std::size_t n)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = p[i];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7f) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

void PutQuoted(std::string& out, const std::string& s)
{
    PutQuoted(out, reinterpret_cast<const unsigned char*>(s.data()), s.size());
}

std::string Serialize(const Store& s)
{
    static const char hex[] = "0123456789abcdef";
    std::string out = kHeader;
    out += '\n';
    for (const Key& k : s.keys) {
        out += "key ";
        PutQuoted(out, k.path);
        out += '\n';
        for (const Value& v : k.values) {
            out += "value ";
            PutQuoted(out, v.name);
            out += ' ' + std::to_string(v.type) + ' ';
            const auto& d = v.data;
            const bool text = (v.type == REG_SZ || v.type == REG_EXPAND_SZ) && !d.empty() && d.back() == 0 &&
                              std::find(d.begin(), d.end() - 1, 0) == d.end() - 1;
            if (text) {
                PutQuoted(out, d.data(), d.size() - 1);  // the terminating zero is implied
            } else {
                out += "hex:";
                for (unsigned char c : d) {
                    out += hex[c >> 4];
                    out += hex[c & 15];
                }
            }
            out += '\n';
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class LineParser {
public:
    explicit LineParser(const std::string& line) : s_(line) {}

    bool Word(const char* w)
    {
        const std::size_t n = std::strlen(w);
        if (s_.compare(pos_, n, w) != 0) return false;
        pos_ += n;
        return Space();
    }
    bool Quoted(std::string& out)
    {
        out.clear();
        if (pos_ >= s_.size() || s_[pos_] != '"') return false;
        for (++pos_; pos_ < s_.size(); ++pos_) {
            char c = s_[pos_];
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c == '\\') {
                if (++pos_ >= s_.size()) return false;
                c = s_[pos_];
                if (c == 'x') {
                    if (pos_ + 2 >= s_.size()) return false;
                    const int hi = HexDigit(s_[pos_ + 1]), lo = HexDigit(s_[pos_ + 2]);
                    if (hi < 0 || lo < 0) return false;
                    c = static_cast<char>(hi * 16 + lo);
                    pos_ += 2;
                } else if (c != '"' && c != '\\') {
                    return false;
                }
            }
            out += c;
        }
        return false;
    }
    bool Number(std::uint32_t& out)
    {
        const std::size_t start = pos_;
        std::uint64_t v = 0;
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9' && v <= 0xFFFFFFFFu)
            v = v * 10 + static_cast<unsigned>(s_[pos_++] - '0');
        if (pos_ == start || v > 0xFFFFFFFFu) return false;
        out = static_cast<std::uint32_t>(v);
        return true;
    }
    bool Hex(std::vector<unsigned char>& out)
    {
        out.clear();
        if (s_.compare(pos_, 4, "hex:") != 0) return false;
        for (pos_ += 4; pos_ + 1 < s_.size() && HexDigit(s_[pos_]) >= 0; pos_ += 2) {
            const int lo = HexDigit(s_[pos_ + 1]);
            if (lo < 0) return false;
            out.push_back(static_cast<unsigned char>(HexDigit(s_[pos_]) * 16 + lo));
        }
        return true;
    }
    bool Space()
    {
        if (pos_ >= s_.size() || s_[pos_] != ' ') return false;
        ++pos_;
        return true;
    }
    bool AtEnd() const { return pos_ == s_.size(); }
    bool AtQuote() const { return pos_ < s_.size() && s_[pos_] == '"'; }

private:
    const std::string& s_;
    std::size_t pos_ = 0;
};

bool Parse(const std::string& content, Store& s)
{
    s.keys.clear();
    std::size_t pos = 0;
    bool first = true;
    while (pos < content.size()) {
        std::size_t nl = content.find('\n', pos);
        if (nl == std::string::npos) nl = content.size();
        const std::string line = content.substr(pos, nl - pos);
        pos = nl + 1;
        if (first) {
            if (line != kHeader) return false;
            first = false;
            continue;
        }
        if (line.empty()) continue;
        LineParser p(line);
        if (p.Word("key")) {
            std::string path;
            if (!p.Quoted(path) || !p.AtEnd()) return false;
            path = NormalizePath(path);
            if (path.empty() || FindKey(s, path)) return false;
            s.keys.push_back({path, {}});
        } else if (p.Word("value")) {
            Value v;
            if (s.keys.empty() || !p.Quoted(v.name) || !p.Space() || !p.Number(v.type) || !p.Space()) return false;
            if (p.AtQuote()) {
                std::string text;
                if (!p.Quoted(text)) return false;
                v.data.assign(text.begin(), text.end());
                v.data.push_back(0);
            } else if (!p.Hex(v.data)) {
                return false;
            }
            if (!p.AtEnd() || FindValue(s.keys.back(), v.name)) return false;
            s.keys.back().values.push_back(std::move(v));
        } else {
            return false;
        }
    }
    return true;
}

// ERROR_SUCCESS with the store (empty when the file is missing), or why not.
long Load(RegRoot root, Store& s)
{
    std::string content;
    bool exists = false;
    s.keys.clear();
    if (!ReadWholeFile(RegistryFilePath(root), content, &exists)) return exists ? ERROR_BADDB : ERROR_SUCCESS;
    if (content.empty()) return ERROR_SUCCESS;
    return Parse(content, s) ? ERROR_SUCCESS : ERROR_BADDB;
}

// Runs change on the store under the root's lock and writes the store back when change
// succeeded and says it changed something.
long Update(RegRoot root, const std::function<long(Store&, bool& changed)>& change)
{
    const std::string path = RegistryFilePath(root);
    if (!MakeDirectories(path.substr(0, path.find_last_of('/')))) return ERROR_WRITE_FAULT;
    FileLock lock(path);
    if (!lock.Locked()) return ERROR_WRITE_FAULT;
    Store s;
    if (long rc = Load(root, s); rc != ERROR_SUCCESS) return rc;
    bool changed = false;
    const long rc = change(s, changed);
    if (rc != ERROR_SUCCESS || !changed) return rc;
    return WriteFileAtomic(path, Serialize(s)) ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

const char* RootName(RegRoot root)
{
    switch (root) {
    case RegRoot::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case RegRoot::CurrentUser: return "HKEY_CURRENT_USER";
    case RegRoot::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RegRoot::Users: return "HKEY_USERS";
    case RegRoot::CurrentConfig: return "HKEY_CURRENT_CONFIG";
    }
    return nullptr;
}

bool ValidRoot(RegRoot root)
{
    return RootName(root) != nullptr;
}

}  // namespace

std::string RegistryFilePath(RegRoot root)
{
    const char* name = RootName(root);
    return ConfigDir() + "/registry/" + (name ? name : "UNKNOWN") + ".reg";
}

long RegCreateKey(RegRoot root, const std::string& subKey)
{
    if (!ValidRoot(root)) return ERROR_INVALID_PARAMETER;
    const std::string path = NormalizePath(subKey);
    if (path.empty()) return ERROR_SUCCESS;
    return Update(root, [&](Store& s, bool& changed) {
        std::size_t pos = 0;
        for (;;) {
            pos = path.find('\\', pos);
            const std::string part = path.substr(0, pos);
            if (!FindKey(s, part)) {
                s.keys.push_back({part, {}});
                changed = true;
            }
            if (pos == std::string::npos) break;
            ++pos;
        }
        return ERROR_SUCCESS;
    });
}

bool RegKeyExists(RegRoot root, const std::string& subKey)
{
    if (!ValidRoot(root)) return false;
    const std::string path = NormalizePath(subKey);
    if (path.empty()) return true;
    Store s;
    return Load(root, s) == ERROR_SUCCESS && FindKey(s, path);
}

long RegSetValue(RegRoot root, const std::string& subKey, const std::string& name, std::uint32_t type,
                 const void* data, std::size_t size)
{
    if (!ValidRoot(root) || (size > 0 && !data)) return ERROR_INVALID_PARAMETER;
    const std::string path = NormalizePath(subKey);
    if (path.empty()) return ERROR_ACCESS_DENIED;  // a root holds no values of its own here
    const auto* bytes = static_cast<const unsigned char*>(data);
    return Update(root, [&](Store& s, bool& changed) {
        Key* k = FindKey(s, path);
        if (!k) return ERROR_FILE_NOT_FOUND;
        Value* v = FindValue(*k, name);
        if (!v) {
            k->values.push_back({name, REG_NONE, {}});
            v = &k->values.back();
        }
        v->type = type;
        v->data.assign(bytes, bytes + size);
        changed = true;
        return ERROR_SUCCESS;
    });
}

long RegQueryValue(RegRoot root, const std::string& subKey, const std::string& name, std::uint32_t* type,
                   std::vector<unsigned char>& data)
{
    data.clear();
    if (!ValidRoot(root)) return ERROR_INVALID_PARAMETER;
    Store s;
    if (long rc = Load(root, s); rc != ERROR_SUCCESS) return rc;
    Key* k = FindKey(s, NormalizePath(subKey));
    Value* v = k ? FindValue(*k, name) : nullptr;
    if (!v) return ERROR_FILE_NOT_FOUND;
    if (type) *type = v->type;
    data = v->data;
    return ERROR_SUCCESS;
}

long RegDeleteValue(RegRoot root, const std::string& subKey, const std::string& name)
{
    if (!ValidRoot(root)) return ERROR_INVALID_PARAMETER;
    const std::string path = NormalizePath(subKey);
    return Update(root, [&](Store& s, bool& changed) {
        Key* k = FindKey(s, path);
        if (!k) return ERROR_FILE_NOT_FOUND;
        auto it = std::find_if(k->values.begin(), k->values.end(), [&](const Value& v) { return EqualsNoCase(v.name, name); });
        if (it == k->values.end()) return ERROR_FILE_NOT_FOUND;
        k->values.erase(it);
        changed = true;
        return ERROR_SUCCESS;
    });
}

namespace {
enum class DeleteMode { Plain, Tree, OnlyEmpty };

long DeleteKeyAs(RegRoot root, const std::string& subKey, DeleteMode mode)
{
    if (!ValidRoot(root)) return ERROR_INVALID_PARAMETER;
    const std::string path = NormalizePath(subKey);
    if (path.empty()) return ERROR_ACCESS_DENIED;
    return Update(root, [&](Store& s, bool& changed) {
        Key* k = FindKey(s, path);
        if (!k) return ERROR_FILE_NOT_FOUND;
        const bool children = HasSubKeys(s, path);
        if (mode == DeleteMode::Plain && children) return ERROR_ACCESS_DENIED;
        if (mode == DeleteMode::OnlyEmpty && (children || !k->values.empty())) return ERROR_KEY_HAS_CHILDREN;
        std::erase_if(s.keys, [&](const Key& key) { return EqualsNoCase(key.path, path) || IsBelow(key.path, path); });
        changed = true;
        return ERROR_SUCCESS;
    });
}
}  // namespace

long RegDeleteKey(RegRoot root, const std::string& subKey)
{
    return DeleteKeyAs(root, subKey, DeleteMode::Plain);
}

long RegDeleteTree(RegRoot root, const std::string& subKey)
{
    return DeleteKeyAs(root, subKey, DeleteMode::Tree);
}

long RegDeleteEmptyKey(RegRoot root, const std::string& subKey)
{
    return DeleteKeyAs(root, subKey, DeleteMode::OnlyEmpty);
}

long RegEnumKeys(RegRoot root, const std::string& subKey, std::vector<std::string>& names)
{
    names.clear();
    if (!ValidRoot(root)) return ERROR_INVALID_PARAMETER;
    Store s;
    if (long rc = Load(root, s); rc != ERROR_SUCCESS) return rc;
    const std::string path = NormalizePath(subKey);
    if (!path.empty() && !FindKey(s, path)) return ERROR_FILE_NOT_FOUND;
    for (const Key& k : s.keys) {
        if (!IsBelow(k.path, path)) continue;
        const std::string rest = path.empty() ? k.path : k.path.substr(path.size() + 1);
        if (rest.find('\\') == std::string::npos) names.push_back(rest);
    }
    return ERROR_SUCCESS;
}

long RegEnumValues(RegRoot root, const std::string& subKey, std::vector<std::string>& names)
{
    names.clear();
    if (!ValidRoot(root)) return ERROR_INVALID_PARAMETER;
    Store s;
    if (long rc = Load(root, s); rc != ERROR_SUCCESS) return rc;
    Key* k = FindKey(s, NormalizePath(subKey));
    if (!k) return ERROR_FILE_NOT_FOUND;
    for (const Value& v : k->values) names.push_back(v.name);
    return ERROR_SUCCESS;
}

}  // namespace vyn
