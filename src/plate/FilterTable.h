#pragma once
#include <vector>

namespace vyn {

// The reader's filter (wavelength) table, one for the whole program. The reader drivers fill
// it from the instrument or from the settings; a new plate takes its first filter as the
// initial measurement and reference filter.
class QFilterTable {
public:
    static constexpr int kMaxFilters = 32;

    static QFilterTable& Instance();

    int GetFilterCount() const { return static_cast<int>(fFilters.size()); }
    // Wavelength in nm of filter index; 0 outside 0 .. count - 1.
    int GetFilter(int index) const;
    // Keeps at most kMaxFilters wavelengths, in the given order.
    void SetFilters(const std::vector<int>& wavelengths);

    // Reads the "filters" section of the settings: each key's number in file order, up to a
    // negative one. With none there, the default list of the string table is taken.
    void Load();
    // Rewrites the section with keys F01, F02, ...; false when the file could not be written.
    bool Save() const;

private:
    std::vector<int> fFilters;
};

}  // namespace vyn
