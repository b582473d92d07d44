#pragma once
// The number format of a text box: kind -1 none, 0 General, 1 Scientific, 2 Fixed;
// decimals 0..15; significant digits 0..15 (0 = all).
namespace vyn {

struct RPNumFormat {
    int kind = -1;
    int decimals = 3;
    int digits = 4;

    void Set(int kind_, int decimals_, int digits_);
    // A format of kind -1 equals nothing, not even itself; General ignores the decimals.
    bool operator==(const RPNumFormat& o) const;
};

// The format answered by targets that have none of their own.
const RPNumFormat& DefaultNumFormat();

}  // namespace vyn
