#pragma once
// Plate rows, sample identifications and sample results as lines of text and back, for the
// text files and clipboard exchange. Two families of settings govern the lines: the cell
// settings for plate values, the export settings for identifications and results; each
// chooses between separated fields and fixed-width fields.
//
// Lengths and widths count bytes of UTF-8 text. A text is never cut inside a character: a
// fixed field whose text is cut early is filled up with blanks to its full width, so that
// a reader that counts bytes finds every field where it was written.
#include <string>
#include <string_view>

#include "evaluator/NumFormat.h"

namespace vyn {

class QPlate;
class QSample;

struct TextFieldSettings {
    int cellFixFields = 0;          // "cell_fix_fields"
    char cellSeparator = '\t';      // "cell_separator"
    int cellValLen = 7;             // "cell_val_len"
    QNumFormat cellFormat;          // "cell_format" {4, General, 2}
    int expFixFields = 0;           // "exp_fix_fields"
    char expSeparator = '\t';       // "exp_separator"
    int expIdLen = 36;              // "exp_id_len"
    int expResLen = 20;             // "exp_res_len"
    QNumFormat expFormat;           // "exp_format"
    std::string expError = "err";   // "exp_error"
    std::string expUnder = "<std";  // "exp_under"
    std::string expOver = ">STD";   // "exp_over"
};

// The program-wide settings; the shell loads them from its settings file.
TextFieldSettings& TextFields();

// Whether a character can separate the fields of the text exports, and why not. It must be
// the tabulator or one printable ASCII character: a byte of a longer UTF-8 character would cut
// every text holding that character, and a control character would put stray bytes between
// the fields. And no number as FormatDouble writes it may hold it: with "0" as the separator,
// 0.0495 and 0.098 read back as 495 and 98, with "e" or "-" a value in scientific form falls
// apart. The decimal character is the one character left out here: whether it clashes depends
// on the decimal setting chosen with the separator (SeparatorIsDecimalChar).
enum SeparatorFault { sfUsable, sfNotPlain, sfInNumbers };
SeparatorFault CheckSeparator(int code);
inline bool IsUsableSeparator(int code) { return CheckSeparator(code) == sfUsable; }

// Whether separated fields would be split inside their numbers: "0,05" with ',' as both the
// decimal character and the separator reads back as 0 and 5. Such a text is not written.
bool SeparatorIsDecimalChar(char decimalChar, int fixFields, char separator);
// The same for the cell settings (plate values) or the export settings (results).
bool SeparatorIsDecimalChar(bool cells);

// Reads up to n numbers of one plate row from line into values. A field without a number
// leaves its entry as it was (callers preset NoValue). Answers how many numbers it found.
int ParseCellRow(double* values, std::string_view line, int n);

// The text of plate row row: measured values, or data values with the flag. At most size
// bytes are written (no terminator); with no buffer the length is only measured. Answers
// the length of the text. A row outside the plate gives the empty text.
int FormatCellRow(char* buffer, int size, const QPlate& plate, int row, bool data);
std::string FormatCellRow(const QPlate& plate, int row, bool data, int size = 8000);

// The identification field at the start of source: up to the first TAB or separator (the
// separator only in separated mode), at most size - 1 bytes and in fixed mode at most the
// identification width, trailing blanks removed. Answers its length; dest is terminated.
int CopyIdField(char* dest, int size, std::string_view source);
std::string CopyIdField(std::string_view source, int size);

// The result line of a sample: its identification and, once it has a result, the result
// text. At most size bytes (no terminator); with no buffer only measured. Answers the length.
int FormatResultLine(char* buffer, int size, const QSample& sample);
std::string FormatResultLine(const QSample& sample, int size = 8000);

}  // namespace vyn
