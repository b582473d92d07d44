#pragma once
// String-table ids of the report model and the report run.
namespace vyn {

enum : int {
    kStrCondError = 7401,        // "Error in condition"
    kStrTextBoxError = 7402,     // "TextBox Error"
    kStrCellOutOfRange = 7403,   // raised by the cell pool
    kStrNoSample = 7404,         // "Cannot locate sample."
    kStrGraphError = 7405,       // "Error in graph evaluation"
    kStrNotQuantitative = 7406,  // "Not a quantitative sample."
    kStrObjectTypeName = 7830,   // + type 0..5
    kStrSectionName = 7840,      // + band index 0..4
    kStrCannotOpen = 7860,
    kStrNotOurFile = 7861,
    kStrCannotRead = 7862,
    kStrCannotCreate = 7863,
    kStrCannotWrite = 7864,
    kStrXError = 7890,
    kStrYError = 7891,
    kStrSmall = 7893,
    kStrCond = 7894,
    kStrSourceDefault = 7900,    // + kind 0..3
    kStrFontError = 7910,
};

}  // namespace vyn
