#include "reports/RPObjectTextBox.h"

#include <cstring>

#include "reports/ByteIO.h"
#include "reports/RPDefaultAttrs.h"
#include "reports/RPRun.h"
#include "reports/RPSection.h"
#include "reports/RecordIO.h"

namespace vyn {

RPObjectTextBox::RPObjectTextBox() : font_(TextBoxDefaults().GetFont())
{
    const RPTextBoxDefaAttr& d = TextBoxDefaults();
    width_ = d.width;
    height_ = d.height;
    borderStyle_ = d.borderStyle;
    borderWidth_ = d.borderWidth;
    borderLnStyle_ = d.borderLnStyle;
    backStyle_ = d.backStyle;
    rgbBorder_ = d.rgbBorder;
    rgbBack_ = d.rgbBack;
    rgbFore_ = d.rgbFore;
    align_ = static_cast<std::uint32_t>(d.alignH) | (static_cast<std::uint32_t>(d.alignV) << 4);
    format_ = d.format;
}

std::unique_ptr<RPObjInst> RPObjectTextBox::CreateInstance(RPSecInst& owner)
{
    return std::make_unique<RPObjInstTextBox>(owner, *this);
}

bool RPObjectTextBox::HasAttr(int code) const
{
    return RPObject::HasAttr(code) || code == acRGBFore || code == acFont || code == acTextAlignH ||
           code == acTextAlignV || code == acContents || code == acFormat;
}

void RPObjectTextBox::SetTextAlignH(int v)
{
    if (v < 0 || v > 2) v = 0;
    if (v == GetTextAlignH()) return;
    align_ = (align_ & ~0xFu) | static_cast<std::uint32_t>(v);
    Invalidate();
    MarkModified();
}

void RPObjectTextBox::SetTextAlignV(int v)
{
    v = Bool01(v);
    if (v == GetTextAlignV()) return;
    align_ = (align_ & ~0x10u) | (static_cast<std::uint32_t>(v) << 4);
    Invalidate();
    MarkModified();
}

void RPObjectTextBox::SetFont(const RPLogFont& f)
{
    if (font_.Set(f) == 0) return;
    Invalidate();
    MarkModified();
}

void RPObjectTextBox::SetRGBFore(int v)
{
    v = ColourBits(v);
    if (v == StoredFore()) return;
    StoreFore(v);
    Invalidate();
    MarkModified();
}

void RPObjectTextBox::SetContents(const std::string& v)
{
    if (v == contents_) return;
    contents_ = v;
    Invalidate();
    MarkModified();
}

void RPObjectTextBox::SetFormat(const RPNumFormat& v)
{
    if (v.kind == format_.kind && v.decimals == format_.decimals && v.digits == format_.digits) return;
    format_ = v;
    MarkModified();
}

int RPObjectTextBox::Write(std::uint8_t* out) const
{
    const int common = WriteCommon(nullptr);
    const int size = common + 72 + CountedStringSize(contents_);
    if (!out) return size;
    WriteCommon(out);
    std::uint8_t* p = out + common;
    std::memset(p, 0, 72);
    PutU32(p, align_);
    WriteNumFormatRecord(p + 4, format_);
    font_.Get().Store(p + 12);
    WriteCountedString(p + 72, contents_);
    PutU32(out, static_cast<std::uint32_t>(size));
    return size;
}

int RPObjectTextBox::Read(RecordReader& r)
{
    if (RPObject::Read(r) < 0) return -1;
    align_ = r.U32();
    ReadNumFormatRecord(r, format_);
    const std::uint8_t* f = r.Take(RPLogFont::kSize);
    if (!f) return -1;
    font_.Set(RPLogFont::Load(f));
    if (!ReadCountedString(r, contents_)) return -1;
    return static_cast<int>(r.Pos());
}

int RPObjectTextBox::Assign(const RPObject& other)
{
    if (RPObject::Assign(other) != 0) return 1;
    const auto& o = static_cast<const RPObjectTextBox&>(other);
    contents_ = o.contents_;
    align_ = o.align_;
    font_ = o.font_;
    format_ = o.format_;
    return 0;
}

int RPObjectTextBox::HandleHit(TPoint p, bool flag) const
{
    if (!selected_) return tcNone;
    const int code = HandleCode(p);
    if (code == tcInside) return flag ? tcEdit : tcMove;
    return code;
}

TRect RPObjectTextBox::GetEditRect() const
{
    if (!owner_) return px_.inner;
    return owner_->BandToClient(px_.inner);
}

}  // namespace vyn
