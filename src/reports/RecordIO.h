#pragma once
// Bounded reading of one record of the report stream, and the small record types that the
// object kinds embed (counted string, source, number format, axis, graph attributes).
#include <cstddef>
#include <cstdint>
#include <string>

#include "reports/QRSource.h"
#include "reports/RPAxisSpec.h"
#include "reports/RPNumFormat.h"

namespace vyn {

// A cursor over one record in memory. Every read checks the bounds; a read past the end
// fails the cursor and yields zeros, so a damaged record is refused, never over-read.
class RecordReader {
public:
    RecordReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Ok() const { return ok_; }
    std::size_t Pos() const { return pos_; }
    std::size_t Size() const { return size_; }
    void Seek(std::size_t pos);
    bool Need(std::size_t n);  // false (and failed) when fewer than n bytes remain
    const std::uint8_t* Take(std::size_t n);  // nullptr when they are not there
    std::uint32_t U8();
    std::uint32_t U16();
    std::uint32_t U32();
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    double F64();

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// Counted string: u16 block size (length + 8) & ~3, u16 length, the characters, zeros.
int CountedStringSize(const std::string& s);
int WriteCountedString(std::uint8_t* out, const std::string& s);
bool ReadCountedString(RecordReader& r, std::string& s);

// Source record: u16 block size (length + 12) & ~3, u16 kind, u8 column, u8 row, u16 length, text.
int SourceRecordSize(const QRSource& s);
int WriteSourceRecord(std::uint8_t* out, const QRSource& s);
bool ReadSourceRecord(RecordReader& r, QRSource& s);

// Number-format record, 8 bytes.
void WriteNumFormatRecord(std::uint8_t* out, const RPNumFormat& f);
void ReadNumFormatRecord(RecordReader& r, RPNumFormat& f);

// Axis record, 56 bytes.
inline constexpr int kAxisRecordSize = 56;
void WriteAxisRecord(std::uint8_t* out, const RPAxisSpec& a);
void ReadAxisRecord(RecordReader& r, RPAxisSpec& a);

}  // namespace vyn
