#pragma once
// The common base of the six report object kinds: the rectangle in twips relative to its
// band's body, border and background, print condition and data source, the designer's
// selection flag and pixel geometry; the common part of the attributes and of the stream
// record; the factory, copying and cloning.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/core/Geometry.h"
#include "reports/RPObjAttr.h"

namespace vyn {

class RPSection;
class RPReport;
class RPSecInst;
class RPObjInst;
class IRepView;
class RecordReader;

enum RPObjectType : int { otTextBox = 0, otRectangle = 1, otLine = 2, otGraph = 3, otPicture = 4, otPageBreak = 5 };

inline constexpr std::uint32_t kBandRecordFlag = 0x00020000;
inline constexpr std::uint32_t kObjectRecordFlag = 0x00040000;
inline constexpr int kObjectCommonSize = 60;

// The display name of a type; empty outside 0..5.
std::string ObjectTypeName(int type);

// Handle and hit codes of the designer's mouse tracking.
enum RPTrackCode : int {
    tcNone = 0, tcEdit = 1, tcTop = 2, tcBottom = 3, tcRight = 4, tcLeft = 5, tcTopRight = 6,
    tcBottomRight = 7, tcBottomLeft = 8, tcAnchor = 9, tcMove = 10, tcBody = 11, tcInside = 12,
};

// Pixel geometry in the designer view, band-relative.
struct RPPixelGeometry {
    int x = 0, y = 0, width = 0, height = 0;
    TRect outer;
    TRect inner;
    int colL0 = 0, colL1 = 0, colC0 = 0, colC1 = 0, colR0 = 0, colR1 = 0;  // half-open
    int rowT0 = 0, rowT1 = 0, rowM0 = 0, rowM1 = 0, rowB0 = 0, rowB1 = 0;
    TRect anchor;
    TRect bodyHit;
};

class RPObject : public RPObjAttr {
public:
    RPObject();
    ~RPObject() override;
    RPObject(const RPObject&) = delete;
    RPObject& operator=(const RPObject&) = delete;

    static std::unique_ptr<RPObject> Create(int type);
    // An object of the record's type, read from the record; none for an unknown type or a
    // record that does not read. bandIndex receives the band index stored in the record.
    static std::unique_ptr<RPObject> CreateFromRecord(const std::uint8_t* record, std::size_t size, int& bandIndex);
    static std::unique_ptr<RPObject> Clone(const RPObject& source);

    virtual std::unique_ptr<RPObjInst> CreateInstance(RPSecInst& owner) = 0;
    virtual int GetType() const = 0;
    // Writes the record into out (nullptr: only the size) and returns its size.
    virtual int Write(std::uint8_t* out) const;
    // Reads a complete record; the bytes consumed, or -1 when the record is damaged.
    virtual int Read(RecordReader& r);
    // 0 copied, 1 the types differ (nothing copied).
    virtual int Assign(const RPObject& other);
    virtual void SetPos(TPoint p);
    virtual void SetSize(TSize s);
    virtual void Layout();
    virtual bool Intersects(const TRect& r) const;
    virtual int HandleHit(TPoint p, bool flag) const;
    virtual int BodyHit(TPoint p) const;

    // --- attributes of the common part ---
    bool HasAttr(int code) const override;
    int GetLeft() const override { return left_; }
    int GetTop() const override { return top_; }
    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    void SetLeft(int v) override;
    void SetTop(int v) override;
    void SetWidth(int v) override;
    void SetHeight(int v) override;
    int GetBorderStyle() const override { return borderStyle_; }
    int GetBorderWidth() const override { return borderWidth_; }
    int GetBorderLnStyle() const override { return borderLnStyle_; }
    int GetBackStyle() const override { return backStyle_; }
    void SetBorderStyle(int v) override;
    void SetBorderWidth(int v) override;
    void SetBorderLnStyle(int v) override;
    void SetBackStyle(int v) override;
    int GetRGBBorder() const override { return ResolveColour(rgbBorder_); }
    int GetRGBBack() const override { return ResolveColour(rgbBack_); }
    void SetRGBBorder(int v) override;
    void SetRGBBack(int v) override;
    const std::string& GetCondition() const override { return condition_; }
    void SetCondition(const std::string& v) override;
    const QRSource& GetSource() const override { return source_; }
    void SetSource(const QRSource& v) override;
    // The fore colour is carried by every kind; only text boxes and graphs offer it.
    int ForeColour() const { return ResolveColour(rgbFore_); }

    // --- ownership and designer state ---
    RPSection* Owner() const { return owner_; }
    void SetOwner(RPSection* band) { owner_ = band; }
    RPReport* Report() const;
    IRepView* View() const;
    bool Selected() const { return selected_; }
    void SetSelected(bool on) { selected_ = on; }
    void ToggleSelect();
    void Invalidate() const;
    void MoveToSection(RPSection& band);
    const RPPixelGeometry& Pixels() const { return px_; }
    int HandleCode(TPoint p) const;
    bool OnHandleFrame(TPoint p) const;
    // The stored rectangle in twips, whatever the kind answers through its attributes.
    TRect TwipsRect() const { return TRect(left_, top_, left_ + width_, top_ + height_); }
    // Direct geometry for the stream reader, duplication and tests (no view involved).
    void PlaceTwips(int left, int top, int width, int height);
    void StoreStyles(int borderStyle, int borderWidth, int lnStyle, int backStyle);
    void StoreColours(int border, int back, int fore);
    void StoreCondition(const std::string& c) { condition_ = c; }
    void StoreSource(const QRSource& s) { source_ = s; }

protected:
    void MarkModified() const;
    // Re-lays out and repaints the union of the old and new areas.
    void Relayout();
    int CommonSize() const;
    int WriteCommon(std::uint8_t* out) const;
    void StoreFore(int v) { rgbFore_ = v; }
    int StoredFore() const { return rgbFore_; }

    RPSection* owner_ = nullptr;
    std::string condition_;
    QRSource source_;
    int left_ = 0, top_ = 0, width_ = 1440, height_ = 360;
    int borderStyle_ = 0, borderWidth_ = 0, borderLnStyle_ = 0, backStyle_ = 0;
    int rgbBorder_ = 0x000000, rgbBack_ = 0xFFFFFF, rgbFore_ = 0x000000;
    bool selected_ = false;
    RPPixelGeometry px_;
    int readBandIndex_ = -1;
    friend class RPReport;
};

}  // namespace vyn
