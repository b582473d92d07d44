#pragma once
// Metrics shared by every report designer window: the screen's resolution and the scales
// that turn twips into screen pixels, the band title height, the rulers' font, thickness and
// tick patterns, the steps of automatic scrolling and the drag threshold. The first report
// view computes them once; they stay for the life of the program.
#include <array>
#include <string>

#include "platform/core/Geometry.h"
#include "platform/gui/Gdi.h"
#include "reports/RPScale.h"

namespace vyn {

// The clipboard format of copied report objects: a 32-bit little-endian object count, then
// the object records back to back, each starting with its own length.
inline constexpr const char* kRepObjFormat = "VynRepObj";

// Pictures on the clipboard: the bytes of a placeable metafile file.
inline constexpr const char* kPictureFormat = "VynMetafile";

inline const TColor kDesignerGrey{192, 192, 192};

struct DesignerMetrics {
    bool ready = false;
    TSize screenPpi{96, 96};
    RPScale screenX{kTwipsPerInch, 8};
    RPScale screenY{kTwipsPerInch, 8};
    int bandTitleHeight = 16;
    TSize screenSize{1280, 1024};
    TSize dragThreshold{4, 4};
    TSize autoScrollMin{12, 12};   // 1/8 inch
    TSize autoScrollMax{144, 144}; // 1.5 inch
    TSize widestReport{2112, 2112};
    // Rulers.
    TFont rulerFont;
    int vRulerWidth = 0;
    int hRulerHeight = 0;
    int rulerLabelGap = 2;
    std::array<int, 16> hTicks{};
    std::array<int, 16> vTicks{};
    int hLabelReach = 0;  // width of "88" in the screen font
    int vLabelReach = 0;  // its height
    int scrollBarAllowance = 15;
    TColor pageArea{0, 0, 0};
    TColor cornerColour{0, 0, 0};
};

DesignerMetrics& Metrics();
// Computes the metrics once; later calls do nothing.
void InitDesignerMetrics();

// Twips to screen pixels, (twips * ppi + 720) / 1440 + origin.
int RepUnitsToPixelsX(int twips, int origin = 0);
int RepUnitsToPixelsY(int twips, int origin = 0);

// Whether the attribute editor window is open; one flag for all report views.
extern bool gAttrEditorShown;

// The five tick lengths of a ruler of the given thickness spread over the sixteen steps of
// an inch: whole inch, half, quarters, eighths, sixteenths.
std::array<int, 16> RulerTickPattern(int thickness);

}  // namespace vyn
