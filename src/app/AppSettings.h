#pragma once
// The application-wide settings of section "application" of "VYN.INI": read once when the
// application object is made, written back once when it goes.
#include <string>

#include "evaluator/NumFormat.h"

namespace vyn {

inline constexpr const char* kAppSection = "application";

struct AppSettings {
    std::string port;             // the serial port settings text
    int iniMaxShow = 0;
    std::string resError = "err", resUnder = "<std", resOver = ">STD";
    std::string expError = "err", expUnder = "<std", expOver = ">STD";
    int expFixFields = 0;
    char expSeparator = '\t';
    int expIdLen = 36;
    int expResLen = 20;
    QNumFormat expFormat;
    int cellFixFields = 0;
    char cellSeparator = '\t';
    int cellValLen = 7;
    QNumFormat cellFormat;
    int expFixes = 0;
    int impFixes = 0;
    int autoListAftMake = 0;
    int autoMakeAftMea = 1;
    int autoMakeAftLoad = 1;
    std::string autoBlankBlank = "Blk";
    std::string impExpDtaFilter = kDefaultFilter, impExpResFilter = kDefaultFilter, expOnlyResFilter;
    bool ownResultFilter = false;  // "exp_only_res_filter" was present
    int readerType = 0, readerSubType = 0;

    static constexpr const char* kDefaultFilter = "Text (*.TXT)|*.TXT|All (*.*)|*";
};

// The program's settings.
AppSettings& GetAppSettings();

// Reads every key (defaults for missing ones), sets gDecimalChar and the plate's result texts;
// showState becomes 3 (maximised) when "iniMaxShow" is exactly 1.
void LoadAppSettings(AppSettings& s, int& showState);
// Writes the keys back; "iniMaxShow" from the show state, "comma" from gDecimalChar.
// False when the settings file could not be written.
bool SaveAppSettings(const AppSettings& s, int showState);

// The text exchange and the text field codec work from copies of these settings: hand them
// over after loading or after the options dialog saved, take them back before saving.
void ApplyExchangeSettings(const AppSettings& s);
void TakeExchangeSettings(AppSettings& s);

// "auto_blank_blank" as the program uses it: leading characters below '!' skipped, cut at the
// first character that is not an ASCII letter, the first letter made upper-case.
std::string NormalizeBlankName(const std::string& text);
// A port text the program can use: "COM<n>:<baud>,<parity>,<data>,<stop>"; false otherwise.
bool IsPortText(const std::string& text);

}  // namespace vyn
