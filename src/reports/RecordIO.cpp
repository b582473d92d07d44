#include "reports/RecordIO.h"

#include <algorithm>
#include <cstring>

#include "evaluator/NoValue.h"
#include "reports/ByteIO.h"

namespace vyn {

void RecordReader::Seek(std::size_t pos)
{
    if (pos > size_) {
        ok_ = false;
        pos_ = size_;
    } else {
        pos_ = pos;
    }
}

bool RecordReader::Need(std::size_t n)
{
    if (!ok_ || size_ - pos_ < n) {
        ok_ = false;
        return false;
    }
    return true;
}

const std::uint8_t* RecordReader::Take(std::size_t n)
{
    if (!Need(n)) return nullptr;
    const std::uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
}

std::uint32_t RecordReader::U8()
{
    const auto* p = Take(1);
    return p ? p[0] : 0;
}
std::uint32_t RecordReader::U16()
{
    const auto* p = Take(2);
    return p ? GetU16(p) : 0;
}
std::uint32_t RecordReader::U32()
{
    const auto* p = Take(4);
    return p ? GetU32(p) : 0;
}
double RecordReader::F64()
{
    const auto* p = Take(8);
    return p ? GetF64(p) : 0.0;
}

// Texts longer than a u16 length cannot be stored; they are cut.
static std::size_t StoredLength(const std::string& s) { return s.size() > 65000 ? 65000 : s.size(); }

int CountedStringSize(const std::string& s) { return static_cast<int>((StoredLength(s) + 8) & ~std::size_t{3}); }

int WriteCountedString(std::uint8_t* out, const std::string& s)
{
    const int size = CountedStringSize(s);
    if (out) {
        const std::size_t n = StoredLength(s);
        std::memset(out, 0, static_cast<std::size_t>(size));
        PutU16(out, static_cast<std::uint32_t>(size));
        PutU16(out + 2, static_cast<std::uint32_t>(n));
        std::memcpy(out + 4, s.data(), n);
    }
    return size;
}

bool ReadCountedString(RecordReader& r, std::string& s)
{
    const std::size_t start = r.Pos();
    const std::uint32_t block = r.U16();
    const std::uint32_t length = r.U16();
    if (!r.Ok() || block < length + 5 || block < 4) return false;
    const auto* p = r.Take(length);
    if (!p) return false;
    s.assign(reinterpret_cast<const char*>(p), length);
    r.Seek(start + block);
    return r.Ok();
}

int SourceRecordSize(const QRSource& s) { return static_cast<int>((StoredLength(s.id) + 12) & ~std::size_t{3}); }

int WriteSourceRecord(std::uint8_t* out, const QRSource& s)
{
    const int size = SourceRecordSize(s);
    if (out) {
        const std::size_t n = StoredLength(s.id);
        std::memset(out, 0, static_cast<std::size_t>(size));
        PutU16(out, static_cast<std::uint32_t>(size));
        PutU16(out + 2, static_cast<std::uint32_t>(s.kind));
        out[4] = static_cast<std::uint8_t>(s.column);
        out[5] = static_cast<std::uint8_t>(s.row);
        PutU16(out + 6, static_cast<std::uint32_t>(n));
        std::memcpy(out + 8, s.id.data(), n);
    }
    return size;
}

bool ReadSourceRecord(RecordReader& r, QRSource& s)
{
    const std::size_t start = r.Pos();
    const std::uint32_t block = r.U16();
    const std::uint32_t kind = r.U16();
    const std::uint32_t column = r.U8();
    const std::uint32_t row = r.U8();
    const std::uint32_t length = r.U16();
    if (!r.Ok() || block < length + 9) return false;
    const auto* p = r.Take(length);
    if (!p) return false;
    // The kind is stored in 16 bits: 0xFFFF is the unset kind.
    s.kind = static_cast<std::int16_t>(kind);
    if (s.kind < -1 || s.kind > 3) s.kind = -1;
    s.column = static_cast<int>(column);
    s.row = static_cast<int>(row);
    s.id.assign(reinterpret_cast<const char*>(p), length);
    r.Seek(start + block);
    return r.Ok();
}

void WriteNumFormatRecord(std::uint8_t* out, const RPNumFormat& f)
{
    PutU16(out, static_cast<std::uint32_t>(f.kind) & 0xFFFF);
    PutU16(out + 2, static_cast<std::uint32_t>(f.decimals));
    PutU16(out + 4, static_cast<std::uint32_t>(f.digits));
    PutU16(out + 6, 0);
}

void ReadNumFormatRecord(RecordReader& r, RPNumFormat& f)
{
    const int kind = static_cast<int>(r.U16());
    const int decimals = static_cast<int>(r.U16());
    const int digits = static_cast<int>(r.U16());
    r.U16();
    f.Set(kind == 0xFFFF ? -1 : kind, decimals, digits);
}

void WriteAxisRecord(std::uint8_t* out, const RPAxisSpec& a)
{
    std::memset(out, 0, kAxisRecordSize);
    PutU16(out, static_cast<std::uint32_t>(a.kind) & 0xFFFF);
    PutU16(out + 2, static_cast<std::uint32_t>(a.scale) & 0xFFFF);
    PutU16(out + 4, static_cast<std::uint32_t>(a.subticks) & 0xFFFF);
    PutF64(out + 24, a.low);
    PutF64(out + 32, a.high);
    PutF64(out + 40, a.increment);
    PutF64(out + 48, NoValue);
}

void ReadAxisRecord(RecordReader& r, RPAxisSpec& a)
{
    const std::size_t start = r.Pos();
    if (!r.Need(kAxisRecordSize)) return;
    // Kind and scale as the axis takes them; more subticks than an axis can show would only
    // cost time in every painting.
    const int kind = static_cast<int>(r.U16());
    a.kind = kind > 1 ? -1 : kind;
    a.scale = r.U16() == 1 ? 1 : 0;
    a.subticks = std::min(static_cast<int>(r.U16()), kMaxSubticks);
    r.Seek(start + 24);
    a.low = r.F64();
    a.high = r.F64();
    a.increment = r.F64();
    r.Seek(start + kAxisRecordSize);
}

}  // namespace vyn
