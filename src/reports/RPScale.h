#pragma once
// One axis of a mapping between twips (1440 per inch), device units and grid steps.
// All arithmetic is 32-bit signed with division truncating toward zero.
#include <string>

namespace vyn {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kMaxTwips = 31680;  // 22 inches, the largest length of a report

class RPScale {
public:
    RPScale(int unitsPerInch = kTwipsPerInch, int divisions = 8) { Set(unitsPerInch, divisions); }

    void Set(int u, int d);
    void SetUnitsPerInch(int u) { Set(u, d_); }
    void SetDivisions(int d);

    int UnitsPerInch() const { return u_; }
    int Divisions() const { return d_; }
    int RoundDown() const { return roundDown_; }
    int RoundUp() const { return roundUp_; }

    int ToStepDown(int v, int org = 0) const;
    int ToStepUp(int v, int org = 0) const;
    int ToStepNearest(int v, int org = 0) const;
    int SnapDown(int v, int org = 0) const { return StepToUnits(ToStepDown(v, org), org); }
    int SnapUp(int v, int org = 0) const { return StepToUnits(ToStepUp(v, org), org); }
    int SnapNearest(int v, int org = 0) const { return StepToUnits(ToStepNearest(v, org), org); }
    int ToTwips(int v, int org = 0) const;
    int FromTwips(int t, int org = 0) const;
    int StepToUnits(int n, int org = 0) const;
    int TwipsToSteps(int t) const;
    int StepsToTwips(int n) const;

private:
    int u_ = kTwipsPerInch;
    int d_ = 8;
    int roundDown_ = 0;
    int roundUp_ = 0;
};

// Reads a length typed with an optional unit ("pt", "mm", "cm", "he" = twips, else inches),
// stores it in twips and rewrites the text in inches. 1 read, 0 no number (twips unchanged),
// -1 negative or over 31680 twips (twips unchanged, text "0 in").
int ParseLengthTwips(std::string& text, int& twips);
// twips as inches: "0.5 in"; 32767 gives the empty text.
std::string TwipsToInchText(int twips);

}  // namespace vyn
