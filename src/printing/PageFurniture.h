#pragma once
// The page furniture every printout draws: the header line ("Vyn32", the date, the page
// number), the footer line, a dotted separator and the plate information block of the first
// page. Each function measures with the printer context `dc` and draws with `outDC`; in the
// print preview the two differ.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Geometry.h"

namespace vyn {

class TDC;
class TRegion;
class TStackVal;

// What the owner of a printout tells the page furniture about its plate.
struct PrintHeaderInfo {
    std::string methodName;
    std::string comment;
    std::string platePath;
    std::int64_t measuredTime = 0;  // ms since 1 January 1601; 0: not measured
    int filter = 0;                 // nm
    int refFilter = 0;              // nm
    int useReference = 0;
    int hasValidations = 0;
    int validity = 0;               // -1 error, 0 not calculated, 1 valid, 2 invalid
    // The plate's results; null when the owner has none. Not owned.
    const std::vector<TStackVal>* calcValues = nullptr;
    const std::vector<TStackVal>* validationValues = nullptr;
};

int HeaderHeight(const TDC& dc);
int FooterHeight(const TDC& dc);
int InfoBlockHeight(const TDC& dc, int hasValidations, const std::vector<TStackVal>* calcValues,
                    const std::vector<TStackVal>* validationValues);

void PrintHeader(const TRect& pageRect, TDC& outDC, const TDC& dc, const char* dateText, int pageCount, int page);
void PrintFooter(const TRect& pageRect, TDC& outDC, const TDC& dc, int pageCount, int page);
void PrintSeparator(const TRect& pageRect, TDC& outDC, const TDC& dc, int y);
// clip: the page clip to restore on the printer context; null in the preview.
void PrintInfoBlock(const TRect& pageRect, int yOffset, TDC& outDC, const TDC& dc, const TRegion* clip,
                    const PrintHeaderInfo& info);

// The texts of the footer and of the validity row.
const char* FooterText(int pageCount, int page);
const char* ValidityText(int validity);
// Whether a result is listed in the information block under gGlobalMode.
bool ShowsValue(const TStackVal& v);
// A path cut in the middle with "...." until it is at most maxWidth wide on dc (paths of at
// most 16 characters stay whole).
std::string ShortenPath(const std::string& path, const TDC& dc, int maxWidth);

}  // namespace vyn
