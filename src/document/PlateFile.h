#pragma once
// The plate and method file: one block of tagged lines from MNAM to QEND holding the method,
// the layout, the presentation settings and, for a saved plate, the measurement. Method
// blocks of the library are the same without the measurement part.
#include <cstdint>
#include <string>
#include <string_view>

#include "evaluator/NumFormat.h"

namespace vyn {

class ICrunch;
class LineReader;
class OCrunch;
class QDesc;
class QPlate;

// Flag of WritePlateFile: the whole plate or only its method.
enum PlateWriteFlag : int {
    pwMethod = 0,   // a library block: no measurement time, no well values
    pwPlate = 1,    // a saved plate document
};

// Messages of reading and writing.
inline constexpr int kMsgCannotOpenFile = 3100;
inline constexpr int kMsgCannotReadFile = 3101;
inline constexpr int kMsgBadFileStructure = 3102;
inline constexpr int kMsgWrongItem = 3103;
inline constexpr int kMsgCannotCreateFile = 3104;
inline constexpr int kMsgErrorWritingFile = 3105;
inline constexpr int kMsgCannotCloseFile = 3106;
inline constexpr int kMsgNameNotStorable = 3107;
// A value that is not a number (nan), which the reader would refuse: the block is not written.
inline constexpr int kMsgNotANumberValue = 21342;

// --- descriptor kind names ---------------------------------------------------------------

// "G" 1, "Q" 2, "SP" 4, "SN" 0x14, "NP" 8, "NN" 0x18: the position in that table, or -1.
int IndexOfKindName(std::string_view name);
int IndexOfKindCode(std::uint32_t code);
const char* KindNameAt(int index);        // "" outside the table
std::uint32_t KindCodeAt(int index);      // 0 outside the table

// The first descriptor of the plate named exactly name (case counts) whose kind shares a bit
// with mask; null when there is none.
QDesc* FindDescriptor(const QPlate& plate, std::string_view name, std::uint32_t mask);

// Whether a descriptor name survives the file: an unquoted field that reads back as the same
// text of kind name.
bool IsStorableName(std::string_view name);
// What the file carries. Names are typed with at most 62 characters (the Names dialog), and the
// message states that limit; longer names from older files are still written back.
inline constexpr std::size_t kMaxStorableName = 250;

// --- single lines --------------------------------------------------------------------------

// A measurement time as read: a non-zero value below 2^32 is seconds since 1970 in local
// time (as older files held it); anything else milliseconds since 1601 as it stands.
std::uint64_t TimeFromFile(std::uint64_t value);

// An FMTM, FMTT or FMTR line: mode, digits, decimals.
void WriteFormatLine(OCrunch& out, const QNumFormat& format, int tag);
// False on a line that is not three numbers; out-of-range values are brought into range.
bool ReadFormatLine(const ICrunch& in, QNumFormat& format);

// --- blocks --------------------------------------------------------------------------------

// 0 when every name the block would write can be read back; else kMsgNameNotStorable with the
// offending name in *badName.
int CheckPlateForFile(const QPlate& plate, std::string* badName = nullptr);

// Writes one block at the file's current position. The names of the definition lists are
// normalised first and kept so. A plate holding a name the file cannot carry is refused before
// a byte is written. Answers the bytes written, or -1: *message then holds the text to show
// ("Error writing file." after a write error, the lines before it stay in the file; a value
// that is not a number ends the block at its line with kMsgNotANumberValue).
long WritePlateFile(QPlate& plate, int fd, int flag, std::string* message = nullptr);

// The same block into memory, for writers that place the bytes themselves.
bool RenderPlateBlock(QPlate& plate, int flag, std::string& block, std::string* message = nullptr);

// Saves a whole plate file in one step through the file service, so that a failure at any point
// leaves the old file as it was.
bool SavePlateFile(QPlate& plate, const std::string& path, int flag, std::string* message = nullptr);

// Reads one block from the reader's position into a freshly constructed plate, up to QEND or
// the end of the file. seqLimit is the most sequential samples (SMQS, SMNS lines) to take; a
// negative limit takes all. The decimal character is the block's own (DSEP) while it is read
// and the caller's again afterwards. On failure *message is 3101, 3102 or 3103 and the plate
// holds what was read before the failing line (the caller discards it).
bool ReadPlateFile(QPlate& plate, LineReader& reader, int seqLimit, int* message = nullptr);

}  // namespace vyn
