#include "plate/QDesc.h"

#include "plate/Utilities.h"

namespace vyn {

bool QDesc::HasName(std::string_view other) const
{
    return EqualNoCase(name, other);
}

bool QDesc::operator==(const QDesc& other) const
{
    return SampleKind() == other.SampleKind() && EqualNoCase(name, other.name);
}

bool QDesc::IsIdentical(const QDesc& other) const
{
    return kind == other.kind && colour == other.colour && name == other.name && info == other.info;
}

}  // namespace vyn
