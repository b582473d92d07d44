#pragma once
// The report objects without text: rectangle, line, metafile picture and page break.
#include <cstdint>
#include <vector>

#include "reports/RPObject.h"

namespace vyn {

class RPObjectRectangle : public RPObject {
public:
    RPObjectRectangle();
    std::unique_ptr<RPObjInst> CreateInstance(RPSecInst& owner) override;
    int GetType() const override { return otRectangle; }
    bool Intersects(const TRect& r) const override;
    int HandleHit(TPoint p, bool flag) const override;
    int BodyHit(TPoint p) const override;
};

class RPObjectLine : public RPObject {
public:
    RPObjectLine();
    std::unique_ptr<RPObjInst> CreateInstance(RPSecInst& owner) override;
    int GetType() const override { return otLine; }
    int Write(std::uint8_t* out) const override;
    int Read(RecordReader& r) override;
    int Assign(const RPObject& other) override;
    void Layout() override;
    bool Intersects(const TRect& r) const override;
    int HandleHit(TPoint p, bool flag) const override;
    int BodyHit(TPoint p) const override;

    bool HasAttr(int code) const override;
    // A line has no border style, back style nor back colour: it answers as a target that
    // lacks them and ignores their set operations.
    int GetBorderStyle() const override { return 32767; }
    int GetBackStyle() const override { return 32767; }
    int GetRGBBack() const override { return -1; }
    void SetBorderStyle(int) override {}
    void SetBackStyle(int) override {}
    void SetRGBBack(int) override {}
    int GetLineSlant() const override { return slant_; }
    void SetLineSlant(int v) override;
    void StoreSlant(int v) { slant_ = v; }
    int PenWidth() const { return penWidth_; }
    bool NearLine(TPoint p) const;

private:
    int slant_ = 0;
    int penWidth_ = 0;
    long long a_ = 0, b_ = 0, c_ = 0, norm_ = 1, tol2_ = 0;
    int shift_ = 0;
    bool hasTerms_ = false;
};

// A placeable metafile: its bits are kept as they were loaded or read, with the mapping
// mode and the natural size in hundredths of a millimetre.
class RPObjectPicture : public RPObject {
public:
    RPObjectPicture();
    std::unique_ptr<RPObjInst> CreateInstance(RPSecInst& owner) override;
    int GetType() const override { return otPicture; }
    int Write(std::uint8_t* out) const override;
    int Read(RecordReader& r) override;
    int Assign(const RPObject& other) override;

    bool HasAttr(int code) const override;
    int GetSizeMode() const override { return sizeMode_; }
    void SetSizeMode(int v) override;

    // 0 loaded, 1 refused: a placeable metafile file's bytes.
    int LoadFromFileBytes(const std::vector<std::uint8_t>& file);
    static std::unique_ptr<RPObject> FromMetafileFile(const std::string& path);

    bool HasPicture() const { return !bits_.empty(); }
    const std::vector<std::uint8_t>& Bits() const { return bits_; }
    int MapMode() const { return mapMode_; }
    int ExtentX() const { return xExt_; }
    int ExtentY() const { return yExt_; }
    void SetPicture(std::vector<std::uint8_t> bits, int mapMode, int xExt, int yExt);

private:
    int sizeMode_ = 0;
    int mapMode_ = 0;
    int xExt_ = 0, yExt_ = 0;
    std::vector<std::uint8_t> bits_;
};

class RPObjectPgBreak : public RPObject {
public:
    RPObjectPgBreak();
    std::unique_ptr<RPObjInst> CreateInstance(RPSecInst& owner) override;
    int GetType() const override { return otPageBreak; }
    bool HasAttr(int code) const override { return code == acTop; }
    // A page break answers only its Top.
    int GetLeft() const override { return 32767; }
    int GetWidth() const override { return 32767; }
    int GetHeight() const override { return 32767; }
    int GetBorderStyle() const override { return 32767; }
    int GetBorderWidth() const override { return 32767; }
    int GetBorderLnStyle() const override { return 32767; }
    int GetBackStyle() const override { return 32767; }
    int GetRGBBorder() const override { return -1; }
    int GetRGBBack() const override { return -1; }
    void SetBorderStyle(int) override {}
    void SetBorderWidth(int) override {}
    void SetBorderLnStyle(int) override {}
    void SetBackStyle(int) override {}
    void SetRGBBorder(int) override {}
    void SetRGBBack(int) override {}
    const std::string& GetCondition() const override { return EmptyText(); }
    const QRSource& GetSource() const override { return DefaultSource(); }
    void SetPos(TPoint p) override;
    void SetSize(TSize s) override;
    void Layout() override;
    bool Intersects(const TRect&) const override { return false; }
    int HandleHit(TPoint p, bool flag) const override;
};

}  // namespace vyn
