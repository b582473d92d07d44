#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Geometry.h"

namespace vyn {

// A sample-name descriptor: one kind of sample a plate can hold, with the short name the
// wells show and expressions use, a colour and a long text.
class QDesc {
public:
    // Low four bits of kind: 1 control or global, 2 qualitative, 4 standard, 8 quantitative.
    static constexpr std::uint32_t kKindMask = 0x0F;
    // Marks the reference wells of standards and quantitative samples.
    static constexpr std::uint32_t kReference = 0x10;

    QDesc(std::uint32_t kind, std::string name, TColor colour, std::string info)
        : kind(kind), colour(colour), name(std::move(name)), info(std::move(info))
    {
    }

    std::uint32_t SampleKind() const { return kind & kKindMask; }
    bool IsReference() const { return (kind & kReference) != 0; }

    // The name without regard to case.
    bool HasName(std::string_view other) const;
    // Same sample kind and the same name without regard to case; colour, info and the
    // reference bit do not count.
    bool operator==(const QDesc& other) const;
    // All four fields equal, names and texts with regard to case.
    bool IsIdentical(const QDesc& other) const;

    std::uint32_t kind;
    TColor colour;
    std::string name;
    std::string info;
};

// A plate's descriptors in file order; the list owns them.
using QDescList = std::vector<std::unique_ptr<QDesc>>;

}  // namespace vyn
