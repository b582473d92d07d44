#include "plate/RSt.h"

#include <algorithm>

namespace vyn {

void RSt::Reset(int n)
{
    if (n > 0 && n != fCount) {
        fCount = n;
        fBlock.assign(2 * static_cast<std::size_t>(n), 0);
        fBlock.shrink_to_fit();
    } else {
        std::fill(fBlock.begin(), fBlock.end(), 0);
    }
    fChangedWells = fChangedSamples = 0;
    fCalibration = fData = fCalculations = fValidation = 0;
}

void RSt::MarkWell(int i)
{
    if (i < 0 || i >= fCount || fBlock[static_cast<std::size_t>(i)]) return;
    fBlock[static_cast<std::size_t>(i)] = 1;
    ++fChangedWells;
}

void RSt::MarkSample(int i)
{
    if (i < 0 || i >= fCount || fBlock[static_cast<std::size_t>(fCount + i)]) return;
    fBlock[static_cast<std::size_t>(fCount + i)] = 1;
    ++fChangedSamples;
}

}  // namespace vyn
