#include "reports/RPScale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "evaluator/NumFormat.h"

namespace vyn {

void RPScale::Set(int u, int d)
{
    u_ = u;
    d_ = d;
    roundDown_ = std::min(d_ - d_ / 2 - 1, u_ / 2);
    roundUp_ = std::max(u_ - d_ / 2 - 1, u_ / 2);
}

void RPScale::SetDivisions(int d) { Set(u_, std::clamp(d, 1, 72)); }

// A zero unit count only comes from an unset device; it maps everything to step 0.
int RPScale::ToStepDown(int v, int org) const { return u_ ? ((v - org) * d_ + roundDown_) / u_ : 0; }
int RPScale::ToStepUp(int v, int org) const { return u_ ? ((v - org) * d_ + roundUp_) / u_ : 0; }
int RPScale::ToStepNearest(int v, int org) const { return u_ ? ((v - org) * d_ + u_ / 2) / u_ : 0; }
int RPScale::ToTwips(int v, int org) const { return u_ ? ((v - org) * kTwipsPerInch + u_ / 2) / u_ : 0; }
int RPScale::FromTwips(int t, int org) const { return (t * u_ + 720) / kTwipsPerInch + org; }
int RPScale::StepToUnits(int n, int org) const { return d_ ? (n * u_ + d_ / 2) / d_ + org : org; }
int RPScale::TwipsToSteps(int t) const { return (t * d_ + 720) / kTwipsPerInch; }
int RPScale::StepsToTwips(int n) const { return d_ ? (n * kTwipsPerInch + d_ / 2) / d_ : 0; }

std::string TwipsToInchText(int twips)
{
    if (twips == 32767) return {};
    std::string s = FormatDouble(static_cast<double>(twips) / kTwipsPerInch, 2, 4, 15, 0);
    std::replace(s.begin(), s.end(), ',', '.');
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    return s + " in";
}

int ParseLengthTwips(std::string& text, int& twips)
{
    const auto comma = text.find(',');
    if (comma != std::string::npos) text[comma] = '.';
    double value = 0.0;
    const char* end = text.c_str();
    const TypedNumber read = ReadTypedNumber(text.c_str(), '.', value, &end);
    if (read == tnMissing) {
        text = "0 in";
        return 0;
    }
    if (read == tnNotANumber || value < 0.0) {
        text = "0 in";
        return -1;
    }
    while (*end == ' ' || *end == '\t') ++end;
    const std::string unit(end, std::min<std::size_t>(2, std::char_traits<char>::length(end)));
    long double t;
    const long double v = value;
    if (unit == "pt") t = v * (1.0L / 72.0L) * 1440.0L + 0.5L;
    else if (unit == "mm") t = v * (1.0L / 25.4L) * 1440.0L + 0.5L;
    else if (unit == "cm") t = v * (1.0L / 2.54L) * 1440.0L + 0.5L;
    else if (unit == "he") t = v;
    else t = v * 1440.0L + 0.5L;
    if (t > kMaxTwips) {
        text = "0 in";
        return -1;
    }
    twips = static_cast<int>(t);
    text = TwipsToInchText(twips);
    return 1;
}

}  // namespace vyn
