#include "app/AppSettings.h"

#include <cctype>
#include <cstdio>

#include "document/TextExchange.h"
#include "plate/PlateSettings.h"
#include "plate/TextFieldCodec.h"
#include "plate/Profile.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {

std::string GetText(const char* key, const std::string& def, int size = 256)
{
    std::string buf(static_cast<std::size_t>(size), '\0');
    int n = ProfileGetString(kAppSection, key, def.c_str(), buf.data(), size);
    buf.resize(static_cast<std::size_t>(n < 0 ? 0 : n));
    return buf;
}

void ReadFormat(const char* key, QNumFormat& f)
{
    int mode = 0, digits = 0, decimals = 0;
    if (ProfileScanFormat(kAppSection, key, "%d%d%d", &mode, &digits, &decimals) == 3) {
        f.SetMode(mode);
        f.SetDigits(digits);
        f.SetDecimals(decimals);
    }
}

// A stored code that cannot separate the fields (a NUL, the first byte of a UTF-8 letter from
// an earlier run, a digit or sign that numbers hold) gives the default, or every export would
// carry it and read back as other values.
char GetSeparator(const char* key, char def)
{
    const int code = ProfileGetInt(kAppSection, key, static_cast<unsigned char>(def));
    return IsUsableSeparator(code) ? static_cast<char>(code) : def;
}

// A field width of none or less (the settings file edited by hand) gives the default: fixed
// fields of no width would export nothing.
int GetWidth(const char* key, int def)
{
    const int width = ProfileGetInt(kAppSection, key, def);
    return width > 0 ? width : def;
}

bool WriteFormat(const char* key, const QNumFormat& f)
{
    return ProfileWriteFormat(kAppSection, key, "%d %d %d", f.mode, f.digits, f.decimals) != 0;
}

// The default port text belongs to the serial port's strings once those exist.
std::string DefaultPortText()
{
    const char* t = FindResString(6002);
    return t ? std::string(t) : std::string("COM1:9600,E,7,2");
}

}  // namespace

AppSettings& GetAppSettings()
{
    static AppSettings settings;
    return settings;
}

std::string NormalizeBlankName(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) < '!') ++i;
    std::string out;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) break;
        out += static_cast<char>(c);
    }
    if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 'a' + 'A');
    return out;
}

bool IsPortText(const std::string& text)
{
    int port = 0, baud = 0, consumed = 0;
    char parity = 0, data = 0, stop = 0;
    if (std::sscanf(text.c_str(), "COM%d:%d,%c,%c,%c%n", &port, &baud, &parity, &data, &stop, &consumed) != 5)
        return false;
    if (static_cast<std::size_t>(consumed) != text.size()) return false;
    if (port < 1 || port > 9 || baud <= 0) return false;
    if (std::string("NEOMS").find(static_cast<char>(std::toupper(static_cast<unsigned char>(parity)))) == std::string::npos)
        return false;
    return data >= '5' && data <= '8' && (stop == '1' || stop == '2');
}

void LoadAppSettings(AppSettings& s, int& showState)
{
    s = AppSettings{};
    // Whether the text is usable is the port settings' own decision when they take it.
    s.port = GetText("port", "");
    if (s.port.empty()) s.port = DefaultPortText();
    s.readerType = ProfileGetInt(kAppSection, "reader_type", 0) & 0xFF;
    s.readerSubType = ProfileGetInt(kAppSection, "reader_subtype", 0) & 0xFF;
    s.iniMaxShow = ProfileGetInt(kAppSection, "iniMaxShow", 0);
    if (s.iniMaxShow == 1) showState = 3;
    gDecimalChar = ProfileGetInt(kAppSection, "comma", 0) ? ',' : '.';
    s.resError = GetText("res_error", s.resError);
    s.resUnder = GetText("res_under", s.resUnder);
    s.resOver = GetText("res_over", s.resOver);
    s.expError = GetText("exp_error", s.expError);
    s.expUnder = GetText("exp_under", s.expUnder);
    s.expOver = GetText("exp_over", s.expOver);
    s.expFixFields = ProfileGetInt(kAppSection, "exp_fix_fields", s.expFixFields);
    s.expSeparator = GetSeparator("exp_separator", s.expSeparator);
    s.expIdLen = GetWidth("exp_id_len", s.expIdLen);
    s.expResLen = GetWidth("exp_res_len", s.expResLen);
    ReadFormat("exp_format", s.expFormat);
    s.cellFixFields = ProfileGetInt(kAppSection, "cell_fix_fields", s.cellFixFields);
    s.cellSeparator = GetSeparator("cell_separator", s.cellSeparator);
    s.cellValLen = GetWidth("cell_val_len", s.cellValLen);
    ReadFormat("cell_format", s.cellFormat);
    s.expFixes = ProfileGetInt(kAppSection, "exp_fixes", s.expFixes);
    s.impFixes = ProfileGetInt(kAppSection, "imp_fixes", s.impFixes);
    s.autoListAftMake = ProfileGetInt(kAppSection, "auto_list_aft_make", s.autoListAftMake);
    s.autoMakeAftMea = ProfileGetInt(kAppSection, "auto_make_aft_mea", s.autoMakeAftMea);
    s.autoMakeAftLoad = ProfileGetInt(kAppSection, "auto_make_aft_load", s.autoMakeAftLoad);
    s.autoBlankBlank = NormalizeBlankName(GetText("auto_blank_blank", s.autoBlankBlank));
    s.impExpDtaFilter = GetText("imp_exp_dta_filter", AppSettings::kDefaultFilter, 260);
    s.impExpResFilter = GetText("imp_exp_res_filter", AppSettings::kDefaultFilter, 260);
    s.ownResultFilter = !GetText("exp_only_res_filter", "", 32).empty();
    s.expOnlyResFilter = s.ownResultFilter ? GetText("exp_only_res_filter", "", 260) : s.impExpResFilter;
    ApplyExchangeSettings(s);
}

void ApplyExchangeSettings(const AppSettings& s)
{
    QPlateSettings& ps = PlateSettings();
    ps.resError = s.resError;
    ps.resUnder = s.resUnder;
    ps.resOver = s.resOver;
    TextFieldSettings& f = TextFields();
    f.cellFixFields = s.cellFixFields;
    f.cellSeparator = s.cellSeparator;
    f.cellValLen = s.cellValLen;
    f.cellFormat = s.cellFormat;
    f.expFixFields = s.expFixFields;
    f.expSeparator = s.expSeparator;
    f.expIdLen = s.expIdLen;
    f.expResLen = s.expResLen;
    f.expFormat = s.expFormat;
    f.expError = s.expError;
    f.expUnder = s.expUnder;
    f.expOver = s.expOver;
    TextExchangeSettings& x = TextExchange();
    x.impFixes = s.impFixes;
    x.expFixes = s.expFixes;
    // A filter text that did not change keeps the index the user chose last in this run.
    if (x.dataFilter != s.impExpDtaFilter) x.dataFilterIndex = 0;
    x.dataFilter = s.impExpDtaFilter;
    if (x.idFilter != s.impExpResFilter) x.idFilterIndex = 0;
    x.idFilter = s.impExpResFilter;
    x.ownResultFilter = s.ownResultFilter;
    if (x.resultFilter != s.expOnlyResFilter) x.resultFilterIndex = 0;
    x.resultFilter = s.expOnlyResFilter;
}

void TakeExchangeSettings(AppSettings& s)
{
    const TextFieldSettings& f = TextFields();
    s.cellFixFields = f.cellFixFields;
    s.cellSeparator = f.cellSeparator;
    s.cellValLen = f.cellValLen;
    s.cellFormat = f.cellFormat;
    s.expFixFields = f.expFixFields;
    s.expSeparator = f.expSeparator;
    s.expIdLen = f.expIdLen;
    s.expResLen = f.expResLen;
    s.expFormat = f.expFormat;
    s.expError = f.expError;
    s.expUnder = f.expUnder;
    s.expOver = f.expOver;
    const TextExchangeSettings& x = TextExchange();
    s.impFixes = x.impFixes;
    s.expFixes = x.expFixes;
    s.impExpDtaFilter = x.dataFilter;
    s.impExpResFilter = x.idFilter;
    s.ownResultFilter = x.ownResultFilter;
    s.expOnlyResFilter = x.resultFilter;
}

bool SaveAppSettings(const AppSettings& s, int showState)
{
    bool ok = true;
    auto Int = [&ok](const char* key, int v) { ok = ProfileWriteInt(kAppSection, key, v) != 0 && ok; };
    auto Text = [&ok](const char* key, const std::string& v) { ok = ProfileWriteString(kAppSection, key, v.c_str()) != 0 && ok; };
    Text("port", s.port);
    Int("iniMaxShow", showState == 3 ? 1 : 0);
    Int("comma", gDecimalChar == ',' ? 1 : 0);
    Text("res_error", s.resError);
    Text("res_under", s.resUnder);
    Text("res_over", s.resOver);
    Text("exp_error", s.expError);
    Text("exp_under", s.expUnder);
    Text("exp_over", s.expOver);
    Int("exp_fix_fields", s.expFixFields);
    Int("exp_separator", static_cast<unsigned char>(s.expSeparator));
    Int("exp_id_len", s.expIdLen);
    Int("exp_res_len", s.expResLen);
    ok = WriteFormat("exp_format", s.expFormat) && ok;
    Int("cell_fix_fields", s.cellFixFields);
    Int("cell_separator", static_cast<unsigned char>(s.cellSeparator));
    Int("cell_val_len", s.cellValLen);
    ok = WriteFormat("cell_format", s.cellFormat) && ok;
    Int("exp_fixes", s.expFixes);
    Int("imp_fixes", s.impFixes);
    Int("auto_list_aft_make", s.autoListAftMake);
    Int("auto_make_aft_mea", s.autoMakeAftMea);
    Int("auto_make_aft_load", s.autoMakeAftLoad);
    Text("auto_blank_blank", s.autoBlankBlank);
    return ok;
}

}  // namespace vyn
