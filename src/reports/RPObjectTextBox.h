#pragma once
// The text box: a fixed text, or with contents beginning with "=" an expression evaluated per
// sample; its alignment, font, fore colour and number format.
#include "reports/RPObject.h"

namespace vyn {

class RPObjectTextBox : public RPObject {
public:
    RPObjectTextBox();

    std::unique_ptr<RPObjInst> CreateInstance(RPSecInst& owner) override;
    int GetType() const override { return otTextBox; }
    int Write(std::uint8_t* out) const override;
    int Read(RecordReader& r) override;
    int Assign(const RPObject& other) override;
    int HandleHit(TPoint p, bool flag) const override;

    bool HasAttr(int code) const override;
    int GetTextAlignH() const override { return static_cast<int>(align_ & 0xF); }
    void SetTextAlignH(int v) override;
    int GetTextAlignV() const override { return static_cast<int>((align_ >> 4) & 1); }
    void SetTextAlignV(int v) override;
    const RPLogFont* GetFont() const override { return &font_.Get(); }
    void SetFont(const RPLogFont& f) override;
    int GetRGBFore() const override { return ForeColour(); }
    void SetRGBFore(int v) override;
    const std::string& GetContents() const override { return contents_; }
    void SetContents(const std::string& v) override;
    const RPNumFormat& GetFormat() const override { return format_; }
    void SetFormat(const RPNumFormat& v) override;

    const std::string& GetText() const { return contents_; }
    std::uint32_t AlignFlags() const { return align_; }
    void StoreContents(const std::string& s) { contents_ = s; }
    const RPFont& Font() const { return font_; }
    TRect GetEditRect() const;

private:
    std::string contents_;
    std::uint32_t align_ = 0;
    RPFont font_;
    RPNumFormat format_;
};

}  // namespace vyn
