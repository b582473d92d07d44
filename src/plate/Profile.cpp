#include "plate/Profile.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <vector>

#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "platform/core/ProfileFile.h"

namespace vyn {

char gIniText[8002];

namespace {

// printf and scanf follow LC_NUMERIC; the window toolkit sets the user's locale, so the
// profile's formatted lines switch this thread to "C" for the one call.
class CNumericScope {
public:
    CNumericScope()
    {
        static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (c) saved_ = uselocale(c);
    }
    ~CNumericScope()
    {
        if (saved_) uselocale(saved_);
    }
    CNumericScope(const CNumericScope&) = delete;
    CNumericScope& operator=(const CNumericScope&) = delete;

private:
    locale_t saved_ = static_cast<locale_t>(nullptr);
};

}  // namespace

int ProfileGetInt(const char* section, const char* key, int defaultValue)
{
    return GetPrivateProfileInt(section, key, defaultValue, kProfileName);
}

int ProfileGetString(const char* section, const char* key, const char* defaultText, char* buffer, int size)
{
    return GetPrivateProfileString(section, key, defaultText, buffer, size, kProfileName);
}

std::string ProfileGetString(const char* section, const char* key, const char* defaultText)
{
    std::string value;
    if (section && key && ProfileFile(kProfileName).Read(section, key, value)) return value;
    value = defaultText ? defaultText : "";
    while (!value.empty() && value.back() == ' ') value.pop_back();
    return value;
}

double ProfileGetDouble(const char* section, const char* key, double defaultValue)
{
    char text[64];
    // The default goes back untouched rather than through its 15-digit text, which would
    // not always read back as the same double.
    if (GetPrivateProfileString(section, key, "", text, sizeof text, kProfileName) == 0) return defaultValue;
    return ParseDouble(text);
}

int ProfileWriteInt(const char* section, const char* key, int value)
{
    return ProfileWriteString(section, key, std::to_string(value).c_str());
}

int ProfileWriteString(const char* section, const char* key, const char* text)
{
    return WritePrivateProfileString(section, key, text ? text : "", kProfileName) ? 1 : 0;
}

int ProfileWriteDouble(const char* section, const char* key, double value)
{
    const std::string text = FormatDouble(value, nmGeneral, 0, 0, 0);
    return ProfileWriteString(section, key, text.c_str());
}

int ProfileWriteFormat(const char* section, const char* key, const char* format, ...)
{
    {
        CNumericScope c;
        va_list args;
        va_start(args, format);
        std::vsnprintf(gIniText, 8001, format, args);
        va_end(args);
    }
    return ProfileWriteString(section, key, gIniText);
}

int ProfileScanFormat(const char* section, const char* key, const char* format, ...)
{
    if (GetPrivateProfileString(section, key, "", gIniText, 8001, kProfileName) == 0) return 0;
    CNumericScope c;
    va_list args;
    va_start(args, format);
    const int n = std::vsscanf(gIniText, format, args);
    va_end(args);
    return n < 0 ? 0 : n;
}

std::string SettingsNotKeptText()
{
    const ProfileFile file(kProfileName);
    return FormatWithArg(GetResString(file.ReadOnly() ? kMsgSettingsReadOnly : kMsgSettingsNotWritten), file.Path().c_str());
}

int RegReadValue(RegRoot root, const char* subKey, const char* name, char* buffer, int size)
{
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    std::vector<unsigned char> data;
    std::uint32_t type = REG_NONE;
    if (RegQueryValue(root, subKey ? subKey : "", name ? name : "", &type, data) != ERROR_SUCCESS) return 0;
    const std::size_t n = data.size();
    if (n > static_cast<std::size_t>(size)) return 0;
    const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
    // A text stored without its zero must not leave the caller an unterminated buffer.
    if (text && n == static_cast<std::size_t>(size) && (n == 0 || data[n - 1] != 0)) return 0;
    std::memcpy(buffer, data.data(), n);
    if (n < static_cast<std::size_t>(size)) buffer[n] = '\0';
    return static_cast<int>(n);
}

long RegWriteString(RegRoot root, const char* subKey, const char* name, const char* text)
{
    const std::string key = subKey ? subKey : "";
    if (long rc = RegCreateKey(root, key); rc != ERROR_SUCCESS) return rc;
    const std::string value = text ? text : "";
    // A value that could not be stored is reported, not taken for success.
    return RegSetValue(root, key, name ? name : "", REG_SZ, value.c_str(), value.size() + 1);
}

}  // namespace vyn
