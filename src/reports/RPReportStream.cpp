// The report stream: a 196-byte header, the five band records in band order, then the
// object records band by band in z-order.
#include <algorithm>
#include <cstring>

#include "reports/ByteIO.h"
#include "reports/RPReport.h"
#include "reports/RecordIO.h"

namespace vyn {

namespace {

void PutText(std::uint8_t* block, std::uint32_t blockSize, const std::string& text, std::size_t max)
{
    const std::size_t n = std::min(text.size(), max);
    PutU16(block, blockSize);
    PutU16(block + 2, static_cast<std::uint32_t>(n));
    std::memcpy(block + 4, text.data(), n);
}

std::string TextAt(const std::uint8_t* p, std::size_t max)
{
    std::size_t n = 0;
    while (n < max && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace

std::vector<std::uint8_t> RPReport::WriteStream() const
{
    std::uint32_t total = kStreamHeaderSize, largest = 0, records = 0;
    for (int i = 0; i < 5; ++i) {
        const auto size = static_cast<std::uint32_t>(Band(i).Write(nullptr));
        total += size;
        largest = std::max(largest, size);
        ++records;
    }
    for (int i = 0; i < 5; ++i) {
        for (const auto& o : Band(i).Objects()) {
            const auto size = static_cast<std::uint32_t>(o->Write(nullptr));
            total += size;
            largest = std::max(largest, size);
            ++records;
        }
    }
    std::vector<std::uint8_t> out(total, 0);
    std::uint8_t* h = out.data();
    PutU32(h + 0, kStreamHeaderSize);
    PutU32(h + 4, total);
    PutU32(h + 8, kStreamFormatMark);
    PutU32(h + 12, kStreamVersion);
    PutU32(h + 16, kStreamHeaderSize);
    PutText(h + 20, 48, name_, kMaxNameLength);
    PutText(h + 68, 80, description_, kMaxDescriptionLength);
    PutU32(h + 148, records);
    PutU32(h + 152, largest);
    PutU32(h + 156, static_cast<std::uint32_t>(width_));
    PutU16(h + 160, static_cast<std::uint32_t>(gridX_.Divisions()));
    PutU16(h + 162, static_cast<std::uint32_t>(gridY_.Divisions()));
    std::size_t pos = kStreamHeaderSize;
    for (int i = 0; i < 5; ++i) pos += static_cast<std::size_t>(Band(i).Write(out.data() + pos));
    for (int i = 0; i < 5; ++i)
        for (const auto& o : Band(i).Objects()) pos += static_cast<std::size_t>(o->Write(out.data() + pos));
    return out;
}

int RPReport::ReadStream(const std::uint8_t* data, std::size_t size, std::size_t start)
{
    if (start > size || size - start < kStreamHeaderSize) return 1;
    const std::uint8_t* h = data + start;
    if (GetU32(h) != kStreamHeaderSize || GetU32(h + 8) != kStreamFormatMark || GetU32(h + 12) >= 0x00020000 ||
        GetU16(h + 66) != 0 || GetU16(h + 146) != 0)
        return 1;
    name_ = TextAt(h + 24, 44);
    description_ = TextAt(h + 72, 76);
    const std::uint32_t largest = GetU32(h + 152);
    width_ = static_cast<int>(GetU32(h + 156));
    gridX_.SetDivisions(static_cast<int>(GetU16(h + 160)));
    gridY_.SetDivisions(static_cast<int>(GetU16(h + 162)));
    const std::uint32_t count = GetU32(h + 148);
    std::uint64_t pos = start + static_cast<std::uint64_t>(GetU32(h + 16));
    for (std::uint32_t i = 0; i < count; ++i) {
        if (pos > size || size - pos < 8) return 1;
        const std::uint8_t* rec = data + pos;
        const std::uint32_t recSize = GetU32(rec);
        const std::uint32_t type = GetU32(rec + 4);
        // A record shorter than its own two words would never move the reader on.
        if (recSize < 8 || recSize > size - pos) return 1;
        if (type & kBandRecordFlag) {
            const std::uint32_t index = type & 0xFFFF;
            if (index > 4 || recSize > largest) return 1;
            RecordReader r(rec, recSize);
            if (Band(static_cast<int>(index)).Read(r) != static_cast<int>(recSize)) return 1;
        } else if (type & kObjectRecordFlag) {
            if (recSize > largest) return 1;
            int bandIndex = -1;
            auto object = RPObject::CreateFromRecord(rec, recSize, bandIndex);
            if (!object || bandIndex < 0 || bandIndex > 4) return 1;
            object->SetOwner(nullptr);
            Band(bandIndex).AddObject(std::move(object));
        }
        pos += recSize;
    }
    SetReportWidth(-1);
    for (auto& b : bands_) b->SetBandHeight(-1);
    return 0;
}

}  // namespace vyn
