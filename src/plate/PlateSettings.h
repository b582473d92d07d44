#pragma once
#include <string>

namespace vyn {

// The application settings that the plate reads: the words shown for a sample result in
// error, below the standards' range and above it. The shell loads them from its settings
// file; until it does, the defaults stand.
struct QPlateSettings {
    std::string resError = "err";
    std::string resUnder = "<std";
    std::string resOver = ">STD";
};

// The program-wide instance.
QPlateSettings& PlateSettings();

}  // namespace vyn
