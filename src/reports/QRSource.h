#pragma once
// The evaluation context (data source) of a report object: kind -1 not set, 0 Default,
// 1 Cell (plate column and row from 0), 2 Sample (identification), 3 Global.
#include <string>

namespace vyn {

enum QRSourceKind : int { srNone = -1, srDefault = 0, srCell = 1, srSample = 2, srGlobal = 3 };

struct QRSource {
    int kind = srNone;
    std::string id;
    int column = 0;
    int row = 0;

    void Clear(int kind_);
    // cell: a row letter A..P and a one- or two-digit column number; sample: letters,
    // digits and "_" only, else the id stays empty.
    void Set(int kind_, const std::string& cellText, const std::string& sampleId);
    void Assign(const QRSource& o);
    bool operator==(const QRSource& o) const;

    std::string CellName() const;   // "A1" .. "P24", else empty
    std::string Describe() const;   // "Cell:B12", "Sample:?", ...
    static std::string KindName(int kind);
};

const QRSource& DefaultSource();

}  // namespace vyn
