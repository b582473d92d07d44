// Resource compiler: reads the project's resource data files and writes C++ tables.
//
//   rcgen strings OUT.cpp FILE...
//   rcgen dialogs OUT.cpp FILE...
//   rcgen menus OUT.cpp FILE...
//   rcgen files OUT.cpp BASEDIR FILE...
//
// String files hold one entry a line:  <id> "<text>"  with C escapes (\" \\ \n \r \t \xNN).
// Lines that are empty or start with '#' are skipped. A duplicate id anywhere in the set,
// a malformed line or an id outside 0..65535 stops the build with a message naming the file
// and line.
//
// Dialog files describe dialog templates, in dialog units, one statement a line:
//   DIALOG <id> <x> <y> <cx> <cy> "<caption>" [FLAG...]
//   FONT <points> "<face>"
//   CONTROL <id> <KIND> <x> <y> <cx> <cy> "<text>" [FLAG...]
//   END
// KIND and FLAG are the names of vyn::TControlKind and vyn::dlgstyle. A duplicate dialog id,
// a duplicate control id within a dialog (other than -1) or a malformed line stops the build.
//
// Menu files describe menu bars, one statement a line:
//   MENU <id>
//   POPUP "<text>"      (nested popups allowed)
//   ITEM <command id> "<text>"   (a "\t" in the text introduces the accelerator key, e.g. "\tF9")
//   SEPARATOR
//   END                 (closes the innermost POPUP, then the MENU)
// A duplicate menu id, an unbalanced END or a malformed line stops the build.
//
// Files mode embeds any files (pictures, help pages, demo data) byte for byte, each named by
// its path relative to BASEDIR.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Origin {
    std::string file;
    int line;
};

[[noreturn]] void Fail(const std::string& file, int line, const std::string& what)
{
    std::cerr << file << ":" << line << ": error: " << what << "\n";
    std::exit(1);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Parses a quoted literal starting at s[pos] == '"'; returns the decoded bytes.
std::string ParseQuoted(const std::string& s, size_t& pos, const std::string& file, int line)
{
    std::string out;
    if (pos >= s.size() || s[pos] != '"') Fail(file, line, "expected a quoted text");
    ++pos;
    while (true) {
        if (pos >= s.size()) Fail(file, line, "unterminated text");
        char c = s[pos++];
        if (c == '"') break;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= s.size()) Fail(file, line, "dangling escape");
        char e = s[pos++];
        switch (e) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case 'x': {
            int h1 = pos < s.size() ? HexDigit(s[pos]) : -1;
            int h2 = pos + 1 < s.size() ? HexDigit(s[pos + 1]) : -1;
            if (h1 < 0 || h2 < 0) Fail(file, line, "\\x needs two hex digits");
            out += static_cast<char>(h1 * 16 + h2);
            pos += 2;
            break;
        }
        default: Fail(file, line, std::string("unknown escape \\") + e);
        }
    }
    return out;
}

std::string CppLiteral(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7f) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

int Strings(const std::string& outPath, const std::vector<std::string>& inputs)
{
    std::map<long, std::pair<std::string, Origin>> table;
    for (const auto& file : inputs) {
        std::ifstream in(file, std::ios::binary);
        if (!in) Fail(file, 0, "cannot open");
        std::string s;
        int line = 0;
        while (std::getline(in, s)) {
            ++line;
            if (!s.empty() && s.back() == '\r') s.pop_back();
            size_t pos = s.find_first_not_of(" \t");
            if (pos == std::string::npos || s[pos] == '#') continue;
            size_t end = pos;
            while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end]))) ++end;
            if (end == pos) Fail(file, line, "expected a numeric id");
            long id = std::stol(s.substr(pos, end - pos));
            if (id > 65535) Fail(file, line, "id out of range");
            pos = s.find_first_not_of(" \t", end);
            if (pos == std::string::npos) Fail(file, line, "expected a quoted text");
            std::string text = ParseQuoted(s, pos, file, line);
            pos = s.find_first_not_of(" \t", pos);
            if (pos != std::string::npos && s[pos] != '#') Fail(file, line, "text after the closing quote");
            auto [it, inserted] = table.emplace(id, std::make_pair(text, Origin{file, line}));
            if (!inserted) {
                std::ostringstream msg;
                msg << "duplicate string id " << id << " (first at " << it->second.second.file << ":"
                    << it->second.second.line << ")";
                Fail(file, line, msg.str());
            }
        }
    }
    std::ostringstream out;
    out << "// Generated by rcgen from resources/strings; do not edit.\n"
           "#include \"platform/core/ResStrings.h\"\n"
           "namespace vyn::res {\n"
           "const StringEntry kStringTable[] = {\n";
    for (const auto& [id, entry] : table) out << "    {" << id << ", " << CppLiteral(entry.first) << "},\n";
    if (table.empty()) out << "    {-1, \"\"},\n";
    out << "};\n"
           "const int kStringCount = " << table.size() << ";\n"
           "}  // namespace vyn::res\n";
    std::ofstream o(outPath, std::ios::binary);
    o << out.str();
    if (!o) Fail(outPath, 0, "cannot write");
    return 0;
}

struct Control {
    long id;
    std::string kind, text;
    std::vector<std::string> flags;
    long x, y, cx, cy;
};

struct Dialog {
    long id = 0;
    std::string caption, face = "MS Sans Serif";
    long points = 8;
    std::vector<std::string> flags;
    long x = 0, y = 0, cx = 0, cy = 0;
    std::vector<Control> controls;
    Origin origin;
};

// Splits a statement into words; a quoted text is one word, kept with its leading '"'.
std::vector<std::string> Words(const std::string& s, const std::string& file, int line)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (true) {
        pos = s.find_first_not_of(" \t", pos);
        if (pos == std::string::npos || s[pos] == '#') break;
        if (s[pos] == '"') {
            out.push_back("\"" + ParseQuoted(s, pos, file, line));
            continue;
        }
        size_t end = s.find_first_of(" \t", pos);
        if (end == std::string::npos) end = s.size();
        out.push_back(s.substr(pos, end - pos));
        pos = end;
    }
    return out;
}

long Number(const std::string& w, const std::string& file, int line)
{
    size_t i = (w.size() > 1 && w[0] == '-') ? 1 : 0;
    if (i == w.size()) Fail(file, line, "expected a number, got '" + w + "'");
    for (size_t k = i; k < w.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(w[k]))) Fail(file, line, "expected a number, got '" + w + "'");
    if (w.size() > 7) Fail(file, line, "number out of range: " + w);
    return std::stol(w);
}

std::string Identifier(const std::string& w, const std::string& file, int line)
{
    if (w.empty() || !(std::isupper(static_cast<unsigned char>(w[0]))))
        Fail(file, line, "expected a name in capitals, got '" + w + "'");
    for (char c : w)
        if (!std::isupper(static_cast<unsigned char>(c)) && !std::isdigit(static_cast<unsigned char>(c)) && c != '_')
            Fail(file, line, "expected a name in capitals, got '" + w + "'");
    return w;
}

std::string Quoted(const std::vector<std::string>& w, size_t i, const std::string& file, int line)
{
    if (i >= w.size() || w[i].empty() || w[i][0] != '"') Fail(file, line, "expected a quoted text");
    return w[i].substr(1);
}

std::string FlagExpr(const std::vector<std::string>& flags)
{
    if (flags.empty()) return "0u";
    std::string out;
    for (const auto& f : flags) out += (out.empty() ? "" : " | ") + std::string("dlgstyle::") + f;
    return out;
}

int Dialogs(const std::string& outPath, const std::vector<std::string>& inputs)
{
    std::map<long, Dialog> table;
    for (const auto& file : inputs) {
        std::ifstream in(file, std::ios::binary);
        if (!in) Fail(file, 0, "cannot open");
        std::string s;
        int line = 0;
        Dialog* cur = nullptr;
        std::map<long, int> controlLines;
        while (std::getline(in, s)) {
            ++line;
            if (!s.empty() && s.back() == '\r') s.pop_back();
            auto w = Words(s, file, line);
            if (w.empty()) continue;
            const std::string& kw = w[0];
            if (kw == "DIALOG") {
                if (cur) Fail(file, line, "DIALOG inside a dialog (missing END)");
                if (w.size() < 7) Fail(file, line, "DIALOG <id> <x> <y> <cx> <cy> \"caption\" [FLAG...]");
                Dialog d;
                d.id = Number(w[1], file, line);
                if (d.id < 0 || d.id > 65535) Fail(file, line, "dialog id out of range");
                d.x = Number(w[2], file, line);
                d.y = Number(w[3], file, line);
                d.cx = Number(w[4], file, line);
                d.cy = Number(w[5], file, line);
                d.caption = Quoted(w, 6, file, line);
                for (size_t i = 7; i < w.size(); ++i) d.flags.push_back(Identifier(w[i], file, line));
                d.origin = Origin{file, line};
                auto [it, inserted] = table.emplace(d.id, d);
                if (!inserted) {
                    std::ostringstream msg;
                    msg << "duplicate dialog id " << d.id << " (first at " << it->second.origin.file << ":"
                        << it->second.origin.line << ")";
                    Fail(file, line, msg.str());
                }
                cur = &it->second;
                controlLines.clear();
            } else if (kw == "FONT") {
                if (!cur) Fail(file, line, "FONT outside a dialog");
                if (w.size() != 3) Fail(file, line, "FONT <points> \"face\"");
                cur->points = Number(w[1], file, line);
                cur->face = Quoted(w, 2, file, line);
            } else if (kw == "CONTROL") {
                if (!cur) Fail(file, line, "CONTROL outside a dialog");
                if (w.size() < 8) Fail(file, line, "CONTROL <id> <KIND> <x> <y> <cx> <cy> \"text\" [FLAG...]");
                Control c;
                c.id = Number(w[1], file, line);
                c.kind = Identifier(w[2], file, line);
                c.x = Number(w[3], file, line);
                c.y = Number(w[4], file, line);
                c.cx = Number(w[5], file, line);
                c.cy = Number(w[6], file, line);
                c.text = Quoted(w, 7, file, line);
                for (size_t i = 8; i < w.size(); ++i) c.flags.push_back(Identifier(w[i], file, line));
                if (c.id != -1) {
                    auto [it, inserted] = controlLines.emplace(c.id, line);
                    if (!inserted) {
                        std::ostringstream msg;
                        msg << "duplicate control id " << c.id << " (first at line " << it->second << ")";
                        Fail(file, line, msg.str());
                    }
                }
                cur->controls.push_back(c);
            } else if (kw == "END") {
                if (!cur) Fail(file, line, "END without DIALOG");
                cur = nullptr;
            } else {
                Fail(file, line, "unknown statement '" + kw + "'");
            }
        }
        if (cur) Fail(file, line, "missing END");
    }
    std::ostringstream out;
    out << "// Generated by rcgen from resources/dialogs; do not edit.\n"
           "#include \"platform/gui/DialogTemplate.h\"\n"
           "namespace vyn {\n"
           "namespace {\n";
    for (const auto& [id, d] : table) {
        out << "const TControlTemplate kControls" << id << "[] = {\n";
        for (const auto& c : d.controls)
            out << "    {" << c.id << ", TControlKind::" << c.kind << ", " << CppLiteral(c.text) << ", "
                << FlagExpr(c.flags) << ", " << c.x << ", " << c.y << ", " << c.cx << ", " << c.cy << "},\n";
        if (d.controls.empty()) out << "    {0, TControlKind::STATIC, \"\", 0u, 0, 0, 0, 0},\n";
        out << "};\n";
    }
    out << "}  // namespace\n"
           "namespace res {\n"
           "const TDialogTemplate kDialogTable[] = {\n";
    for (const auto& [id, d] : table)
        out << "    {" << id << ", " << CppLiteral(d.caption) << ", " << d.points << ", " << CppLiteral(d.face) << ", "
            << FlagExpr(d.flags) << ", " << d.x << ", " << d.y << ", " << d.cx << ", " << d.cy << ", kControls" << id
            << ", " << d.controls.size() << "},\n";
    if (table.empty()) out << "    {-1, \"\", 8, \"\", 0u, 0, 0, 0, 0, nullptr, 0},\n";
    out << "};\n"
           "const int kDialogCount = " << table.size() << ";\n"
           "}  // namespace res\n"
           "}  // namespace vyn\n";
    std::ofstream o(outPath, std::ios::binary);
    o << out.str();
    o.close();
    if (!o) Fail(outPath, 0, "cannot write");
    return 0;
}


struct MenuLine {
    int kind;  // 0 item, 1 popup, 2 end of popup, 3 separator
    long id;
    std::string text;
};

int Menus(const std::string& outPath, const std::vector<std::string>& inputs)
{
    std::map<long, std::vector<MenuLine>> table;
    std::map<long, Origin> origins;
    for (const auto& file : inputs) {
        std::ifstream in(file, std::ios::binary);
        if (!in) Fail(file, 0, "cannot open");
        std::string s;
        int line = 0;
        std::vector<MenuLine>* cur = nullptr;
        int depth = 0;
        while (std::getline(in, s)) {
            ++line;
            if (!s.empty() && s.back() == '\r') s.pop_back();
            auto w = Words(s, file, line);
            if (w.empty()) continue;
            const std::string& kw = w[0];
            if (kw == "MENU") {
                if (cur) Fail(file, line, "MENU inside a menu (missing END)");
                if (w.size() != 2) Fail(file, line, "MENU <id>");
                long id = Number(w[1], file, line);
                if (id < 0 || id > 65535) Fail(file, line, "menu id out of range");
                if (origins.count(id)) {
                    std::ostringstream msg;
                    msg << "duplicate menu id " << id << " (first at " << origins[id].file << ":" << origins[id].line << ")";
                    Fail(file, line, msg.str());
                }
                origins[id] = Origin{file, line};
                cur = &table[id];
                depth = 0;
            } else if (kw == "POPUP") {
                if (!cur) Fail(file, line, "POPUP outside a menu");
                if (w.size() != 2) Fail(file, line, "POPUP \"text\"");
                cur->push_back({1, 0, Quoted(w, 1, file, line)});
                ++depth;
            } else if (kw == "ITEM") {
                if (!cur || depth == 0) Fail(file, line, "ITEM outside a popup");
                if (w.size() != 3) Fail(file, line, "ITEM <id> \"text\"");
                long id = Number(w[1], file, line);
                if (id <= 0 || id > 65535) Fail(file, line, "command id out of range");
                cur->push_back({0, id, Quoted(w, 2, file, line)});
            } else if (kw == "SEPARATOR") {
                if (!cur || depth == 0) Fail(file, line, "SEPARATOR outside a popup");
                cur->push_back({3, 0, {}});
            } else if (kw == "END") {
                if (!cur) Fail(file, line, "END without MENU");
                if (depth > 0) {
                    cur->push_back({2, 0, {}});
                    --depth;
                } else {
                    cur = nullptr;
                }
            } else {
                Fail(file, line, "unknown statement '" + kw + "'");
            }
        }
        if (cur) Fail(file, line, "missing END");
    }
    std::ostringstream out;
    out << "// Generated by rcgen from resources/menus; do not edit.\n"
           "#include \"platform/gui/MenuTemplate.h\"\n"
           "namespace vyn {\n"
           "namespace {\n";
    for (const auto& [id, items] : table) {
        out << "const TMenuItemTemplate kMenu" << id << "[] = {\n";
        for (const auto& m : items) out << "    {" << m.kind << ", " << m.id << ", " << CppLiteral(m.text) << "},\n";
        if (items.empty()) out << "    {2, 0, \"\"},\n";
        out << "};\n";
    }
    out << "}  // namespace\n"
           "namespace res {\n"
           "const TMenuTemplate kMenuTable[] = {\n";
    for (const auto& [id, items] : table) out << "    {" << id << ", kMenu" << id << ", " << items.size() << "},\n";
    if (table.empty()) out << "    {-1, nullptr, 0},\n";
    out << "};\n"
           "const int kMenuCount = " << table.size() << ";\n"
           "}  // namespace res\n"
           "}  // namespace vyn\n";
    std::ofstream o(outPath, std::ios::binary);
    o << out.str();
    o.close();
    if (!o) Fail(outPath, 0, "cannot write");
    return 0;
}

int Files(const std::string& outPath, const std::string& base, const std::vector<std::string>& inputs)
{
    std::map<std::string, std::string> table;
    for (const auto& file : inputs) {
        std::ifstream in(file, std::ios::binary);
        if (!in) Fail(file, 0, "cannot open");
        std::ostringstream data;
        data << in.rdbuf();
        std::string name = file;
        if (name.compare(0, base.size(), base) == 0) name = name.substr(base.size());
        while (!name.empty() && name[0] == '/') name.erase(0, 1);
        table[name] = data.str();
    }
    std::ostringstream out;
    out << "// Generated by rcgen from resources; do not edit.\n"
           "#include \"platform/core/ResFiles.h\"\n"
           "namespace vyn::res {\n"
           "namespace {\n";
    int n = 0;
    for (const auto& [name, data] : table) {
        out << "const unsigned char kFile" << n++ << "[] = {";
        for (size_t i = 0; i < data.size(); ++i) {
            if (i % 24 == 0) out << "\n    ";
            out << static_cast<unsigned>(static_cast<unsigned char>(data[i])) << ",";
        }
        out << "0};\n";
    }
    out << "}  // namespace\n"
           "const ResFileEntry kFileTable[] = {\n";
    n = 0;
    for (const auto& [name, data] : table) out << "    {" << CppLiteral(name) << ", kFile" << n++ << ", " << data.size() << "},\n";
    if (table.empty()) out << "    {\"\", nullptr, 0},\n";
    out << "};\n"
           "const int kFileCount = " << table.size() << ";\n"
           "}  // namespace vyn::res\n";
    std::ofstream o(outPath, std::ios::binary);
    o << out.str();
    o.close();
    if (!o) Fail(outPath, 0, "cannot write");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: rcgen strings|dialogs|menus OUT.cpp FILE... | rcgen files OUT.cpp BASEDIR FILE...\n";
        return 2;
    }
    std::string mode = argv[1];
    std::vector<std::string> inputs(argv + 3, argv + argc);
    if (mode == "strings") return Strings(argv[2], inputs);
    if (mode == "dialogs") return Dialogs(argv[2], inputs);
    if (mode == "menus") return Menus(argv[2], inputs);
    if (mode == "files") {
        if (inputs.empty()) {
            std::cerr << "rcgen files: BASEDIR missing\n";
            return 2;
        }
        return Files(argv[2], inputs[0], std::vector<std::string>(inputs.begin() + 1, inputs.end()));
    }
    std::cerr << "rcgen: unknown mode " << mode << "\n";
    return 2;
}
