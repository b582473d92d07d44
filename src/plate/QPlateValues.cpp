// Putting values into the wells: typed, measured, imported, subtracted, and the changes of
// data mode. Every operation keeps both counts true and marks each changed well.
#include <cmath>
#include <cstdint>

#include "evaluator/NoValue.h"
#include "plate/QPlate.h"

namespace vyn {

namespace {

// Two values equal for the setters: bitwise-equal doubles, NoValue equal to itself.
bool SameValue(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

void CountChange(int& count, double before, double after)
{
    if (before == NoValue && after != NoValue) ++count;
    else if (before != NoValue && after == NoValue) --count;
}

// A reading rounded half up to whole thousandths; false when the count does not fit in 32
// bits (or the reading is not a number), which the caller treats as a missing reading.
bool Thousandths(double value, std::int64_t& out)
{
    const double t = std::floor(value * 1000.0 + 0.5);
    if (!(t >= -2147483648.0 && t <= 2147483647.0)) return false;
    out = static_cast<std::int64_t>(t);
    return true;
}

}  // namespace

int QPlate::StoreWellValues(const std::vector<double>& values, double QWellRecord::*field)
{
    int count = 0;
    for (int i = 0; i < wellCount; ++i) {
        const std::size_t is = static_cast<std::size_t>(i);
        const double v = is < values.size() ? values[is] : NoValue;
        double& slot = wells[is].*field;
        if (!SameValue(slot, v)) {
            slot = v;
            rst.MarkWell(i);
        }
        if (v != NoValue) ++count;
    }
    return count;
}

void QPlate::CopyMeasuredToData()
{
    for (int i = 0; i < wellCount; ++i) {
        QWellRecord& w = wells[static_cast<std::size_t>(i)];
        if (!SameValue(w.data, w.measured)) {
            w.data = w.measured;
            rst.MarkWell(i);
        }
    }
    dataCount = measuredCount;
}

int QPlate::SetMeasuredValue(int well, double value)
{
    if (!IsWell(well)) return 0;
    QWellRecord& w = wells[static_cast<std::size_t>(well)];
    if (SameValue(w.measured, value)) return 0;
    rst.MarkWell(well);
    if (dataMode == dmMeasured) {
        CountChange(measuredCount, w.measured, value);
        w.measured = value;
        w.data = value;
        dataCount = measuredCount;
        rst.SetDataChanged();
        return 1;
    }
    InvalidateDataValues();
    CountChange(measuredCount, w.measured, value);
    w.measured = value;
    return 1;
}

int QPlate::SetDataValue(int well, double value)
{
    if (dataMode == dmMeasured) return SetMeasuredValue(well, value);
    if (!IsWell(well)) return 0;
    QWellRecord& w = wells[static_cast<std::size_t>(well)];
    if (SameValue(w.data, value)) return 0;
    rst.MarkWell(well);
    CountChange(dataCount, w.data, value);
    w.data = value;
    rst.SetDataChanged();
    if (dataCount == 0) InvalidateDataValues();
    return 1;
}

int QPlate::SetMeasuredValues(const std::vector<double>& values)
{
    InvalidateDataValues();
    measuredCount = StoreWellValues(values, &QWellRecord::measured);
    if (dataMode == dmMeasured) CopyMeasuredToData();
    rst.SetDataChanged();
    return 1;
}

int QPlate::SubtractMeasuredValues(const std::vector<double>& values, int sign)
{
    InvalidateDataValues();
    measuredCount = 0;
    dataCount = 0;
    if (sign == 0) return SetMeasuredValues(values);
    for (int i = 0; i < wellCount; ++i) {
        const std::size_t is = static_cast<std::size_t>(i);
        const double n = is < values.size() ? values[is] : NoValue;
        QWellRecord& w = wells[is];
        const double o = w.measured;
        std::int64_t a = 0, b = 0;
        if (n == NoValue || o == NoValue || !Thousandths(n, a) || !Thousandths(o, b)) {
            if (o != NoValue) rst.MarkWell(i);
            w.measured = NoValue;
            continue;
        }
        const std::int64_t d = sign > 0 ? a - b : b - a;
        const double v = 0.001 * static_cast<double>(d);
        ++measuredCount;
        if (!SameValue(v, o)) rst.MarkWell(i);
        w.measured = v;
    }
    if (dataMode == dmMeasured) CopyMeasuredToData();
    rst.SetDataChanged();
    return 1;
}

int QPlate::SetDataValues(const std::vector<double>& values)
{
    if (dataMode == dmMeasured) return SetMeasuredValues(values);
    dataCount = StoreWellValues(values, &QWellRecord::data);
    rst.SetDataChanged();
    if (dataCount == 0) InvalidateDataValues();
    return 1;
}

void QPlate::ResetDataToMeasured()
{
    if (currentBlank) ForgetBlank();
    passErrorText.clear();
    CopyMeasuredToData();
    dataMode = dmMeasured;
}

void QPlate::ClearDataValues(int mode)
{
    for (int i = 0; i < wellCount; ++i) {
        QWellRecord& w = wells[static_cast<std::size_t>(i)];
        if (w.data == NoValue) continue;
        w.data = NoValue;
        rst.MarkWell(i);
    }
    dataMode = mode;
    rst.SetDataChanged();
    dataCount = 0;
}

}  // namespace vyn
