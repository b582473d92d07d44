#pragma once
// The demo data a new installation starts with: a method library with one method for each
// curve model and a measured plate that evaluates at once. Built through the plate document's
// own editing operations and written by its own file writer, so that the files always match
// the format.
#include <string>

namespace vyn {

class QDoc;

// The demo method for a curve model (0-5), laid out on the document's empty plate; with
// values, the demo measurement is put in as well.
void BuildDemoPlate(QDoc& doc, int model, bool withValues);

// The contents of the two demo files.
std::string DemoLibraryText();
std::string DemoPlateText();

inline constexpr const char* kDemoLibraryName = "VYN.MTW";
inline constexpr const char* kDemoPlateName = "Demo.plt";

// Writes both files into the folder; false (with the reason) when one cannot be written.
bool WriteDemoFiles(const std::string& folder, std::string& error);

}  // namespace vyn
