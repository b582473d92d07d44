#pragma once
#include <vector>

namespace vyn {

// The change set of a plate: which wells, which sample slots and which parts of the
// evaluation changed since the views were last told.
class RSt {
public:
    explicit RSt(int n = 0) { Reset(n); }

    // A new size (n > 0 and different) gets a fresh block; everything is cleared in any case,
    // so Reset(0) keeps the size and forgets the changes.
    void Reset(int n);

    // Marking a slot twice counts it once. Indices outside the slots are ignored.
    void MarkWell(int i);
    void MarkSample(int i);

    void SetCalibrationChanged() { fCalibration = 1; }
    void SetDataChanged() { fData = 1; }
    void SetCalculationsChanged() { fCalculations = 1; }
    void SetValidationChanged() { fValidation = 1; }

    int Count() const { return fCount; }
    bool WellChanged(int i) const { return i >= 0 && i < fCount && fBlock[static_cast<std::size_t>(i)]; }
    bool SampleChanged(int i) const
    {
        return i >= 0 && i < fCount && fBlock[static_cast<std::size_t>(fCount + i)];
    }
    int ChangedWells() const { return fChangedWells; }
    int ChangedSamples() const { return fChangedSamples; }
    bool CalibrationChanged() const { return fCalibration != 0; }
    bool DataChanged() const { return fData != 0; }
    bool CalculationsChanged() const { return fCalculations != 0; }
    bool ValidationChanged() const { return fValidation != 0; }

    // The plate document's test whether the views need telling.
    bool AnyChanged() const
    {
        return fChangedWells || fChangedSamples || fCalibration || fData || fCalculations || fValidation;
    }

    // The flag block (well flags, then sample flags): a reset to the same size keeps it.
    const unsigned char* Block() const { return fBlock.data(); }

private:
    int fCount = 0;
    std::vector<unsigned char> fBlock;  // well flags, then sample flags at offset fCount
    int fChangedWells = 0;
    int fChangedSamples = 0;
    int fCalibration = 0;
    int fData = 0;
    int fCalculations = 0;
    int fValidation = 0;
};

}  // namespace vyn
