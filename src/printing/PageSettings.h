#pragma once
// The page settings of every printout kind (four margins and a print font), kept in "VYN.INI",
// the current pair a printout works with while it is set up, the print font's character
// units in which printouts lay text out, the date texts of the page header, and the two
// conversions between the current margins and a page rectangle of a device.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Geometry.h"
#include "platform/gui/Gdi.h"

namespace vyn {

class TDC;

enum PrintKind : int {
    pkPlate = 0,
    pkResults = 1,  // the sample list
    pkGraph = 2,
    pkMethod = 3,   // text lines: the method summary
    pkReport = 4,
};
inline constexpr int kPrintKindCount = 5;

// Margins in 0.01 inch.
struct PageMargins {
    int left = 100;
    int top = 100;
    int right = 100;
    int bottom = 100;
    bool operator==(const PageMargins&) const = default;
};

struct PageSettings {
    PageMargins margins;
    TLogFont font;  // lfHeight in tenths of a point; 0: the device's own font
};

// A font record with every field zero: "no font of its own".
TLogFont NoPageFont();

extern PageMargins gPageMargins[kPrintKindCount];
extern TLogFont gPageFonts[kPrintKindCount];
extern PageMargins gCurPageMargins;
extern TLogFont gCurPageFont;
// How calculation results appear in the plate information block: 0 not at all, 1 all but
// those whose name begins with "_", 2 all.
extern int gGlobalMode;
// Width and height of the print font's "0" in device units, at least 1 each.
extern int gPrintCharWidth;
extern int gPrintCharHeight;

// The profile key of a kind ("Plate", "List", "Graph", "Lines", "Report").
const char* PrintKindKey(int kind);
// Back to the values the program starts with.
void ResetPrintSettings();

// Reads and writes every kind and "GlobalMode"; iniPath is the profile name ("VYN.INI").
// Reading keeps the values it had for margins that leave no room to print and for a
// calculations mode it does not know, and answers those entries as "[Pages] key=value" texts
// for the user. Saving answers false when a value could not be written.
std::vector<std::string> LoadPrintSettings(const char* iniPath);
bool SavePrintSettings(const char* iniPath);

// Whether margins leave room to print: none below 0, and left and right, top and bottom
// together short of the page across and down, on A4 as on Letter paper (the page setup and
// the settings file are not bound to one printer).
bool MarginsLeavePage(const PageMargins& m);

// The profile texts of one kind's records, and their reading: a text that does not hold a
// whole record leaves the record as it was (answers false).
std::string FormatMarginsText(const PageMargins& m);
bool ParseMarginsText(const char* text, PageMargins& m);
std::string FormatFontText(const TLogFont& lf);
bool ParseFontText(const char* text, TLogFont& lf);

// Copies a kind's records into the current pair and the margins back.
void LoadKindMargins(int kind);
void LoadKindFont(int kind);
void StoreKindMargins(int kind);

// The print font of gCurPageFont for a device of dpiY; false when the kind has none.
bool CreatePrintFont(int dpiY, TFont& font);
// Measures "0" of the font selected in dc into gPrintCharWidth/Height.
void MeasurePrintChar(const TDC& dc);
// Quarter character widths and eighth character heights of the print font, device units.
int PrintXUnits(int q);
int PrintYUnits(int e);

// "hh:mm  Mon dd,yyyy" (DateTimeText, FileTimeText) and "hh:mm  Mon dd" (TimeText). Each
// answers its own buffer, overwritten by its next call.
const char* DateTimeText();
const char* TimeText();
const char* FileTimeText(std::int64_t ms);  // ms since 1 January 1601, shown in local time

// A solid black pen `points` wide on the device.
TPen ThinPen(const TDC& dc, int points);

// gCurPageMargins as a rectangle in device pixels of dc, never empty or inverted.
TRect PageMarginRect(const TDC& dc);
// The inverse: gCurPageMargins from a rectangle of dc, rounded to 0.01 inch.
void StoreMarginRect(const TDC& dc, const TRect& rect);

// a * b / c rounded half away from zero; 0 when c is 0 (never a division by zero).
int MulDiv(int a, int b, int c);

}  // namespace vyn
