#pragma once
#include <string>
#include <vector>

#include "platform/core/TypedNumbers.h"

namespace vyn {

// The reader's filter (wavelength) table, one for the whole program. The reader drivers fill
// it from the instrument or from the settings; a new plate takes its first filter as the
// initial measurement and reference filter.
class QFilterTable {
public:
    static constexpr int kMaxFilters = 32;
    // The largest wavelength the table holds, in nm (four places, as the table's rows show
    // them); 0 is an empty place of the table.
    static constexpr int kMaxWavelength = 9999;

    static QFilterTable& Instance();

    int GetFilterCount() const { return static_cast<int>(fFilters.size()); }
    // Wavelength in nm of filter index; 0 outside 0 .. count - 1.
    int GetFilter(int index) const;
    // Keeps at most kMaxFilters wavelengths, in the given order.
    void SetFilters(const std::vector<int>& wavelengths);

    // Reads the "filters" section of the settings: each key's number in file order. An entry
    // that is no wavelength (negative, past kMaxWavelength, not a whole number) becomes an
    // empty place (0), so the filters after it keep their places, which are the positions of
    // a reader's filter wheel; those entries are answered as "[filters] key=value" texts for
    // the user. With no entry there, the default list of the string table is taken.
    std::vector<std::string> Load();
    // Rewrites the section with keys F01, F02, ...; false when the file could not be written.
    bool Save() const;

private:
    std::vector<int> fFilters;
};

// A filter box of a dialog, the measurement's or the reference's: a wavelength the table can
// hold, an empty box no filter.
inline constexpr WholeField kFilterBoxField{0, QFilterTable::kMaxWavelength, true};

}  // namespace vyn
