#include "platform/core/StringTable.h"

#include <algorithm>
#include <cstring>

#include "platform/core/ResStrings.h"

namespace vyn {

namespace {
char gResText[1024];
char gResFmtText[256];

}  // namespace

const char* FindResString(int id)
{
    const res::StringEntry* begin = res::kStringTable;
    const res::StringEntry* end = res::kStringTable + res::kStringCount;
    auto it = std::lower_bound(begin, end, static_cast<long>(id),
                               [](const res::StringEntry& e, long key) { return e.id < key; });
    return (it != end && it->id == id) ? it->text : nullptr;
}

std::string StatusHintPart(const std::string& entry) { return entry.substr(0, entry.find('\n')); }

std::string ToolTipPart(const std::string& entry)
{
    const std::size_t nl = entry.find('\n');
    return nl == std::string::npos ? entry : entry.substr(nl + 1);
}

std::string CutUtf8(const std::string& text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) return text;
    std::size_t n = maxBytes;
    // Step back over continuation bytes so no character is split.
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return text.substr(0, n);
}

int CopyTextToBuffer(const std::string& text, char* buffer, int size)
{
    if (!buffer || size <= 0) return 0;
    const std::string cut = CutUtf8(text, static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, cut.data(), cut.size());
    buffer[cut.size()] = '\0';
    return static_cast<int>(cut.size());
}

const char* GetResString(int id)
{
    const char* t = FindResString(id);
    CopyTextToBuffer(t ? t : "", gResText, sizeof gResText);
    return gResText;
}

char* GetResStringBuf(int id, char* buffer, int size)
{
    if (!buffer || size <= 0) return buffer;
    const char* t = FindResString(id);
    CopyTextToBuffer(t ? t : "", buffer, size);
    return buffer;
}

std::string GetResStringStd(int id)
{
    const char* t = FindResString(id);
    return t ? t : "";
}

std::string FormatWithArg(const char* pattern, const char* arg)
{
    std::string out;
    bool used = false;
    for (const char* p = pattern; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            ++p;
        } else if (p[1] == 's' && !used) {
            out += arg ? arg : "";
            used = true;
            ++p;
        } else if (p[1] == 's') {
            ++p;  // a second %s has no argument: it stays empty
        } else {
            out += '%';
        }
    }
    return out;
}

const char* FormatResString(int id, const char* arg)
{
    const char* t = FindResString(id);
    std::string pattern = CutUtf8(t ? t : "", 255);
    CopyTextToBuffer(FormatWithArg(pattern.c_str(), arg), gResFmtText, sizeof gResFmtText);
    return gResFmtText;
}

}  // namespace vyn
