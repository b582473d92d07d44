#pragma once
// The five bands of a report: page header, report header, detail, report footer, page
// footer. Each is a strip with its height, background and an object list in z-order (first
// drawn first); the detail band adds its column layout and sample choice.
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Geometry.h"
#include "reports/RPObject.h"

namespace vyn {

class RPReport;
class IRepView;
class RecordReader;

enum RPBandIndex : int { bandPageHeader = 0, bandReportHeader = 1, bandDetail = 2, bandReportFooter = 3, bandPageFooter = 4 };

inline constexpr int kBandRecordSize = 56;
inline constexpr int kDetailRecordSize = 80;

std::string SectionName(int index);

class RPSection : public RPObjAttr {
public:
    explicit RPSection(RPReport& report) : report_(report) {}
    ~RPSection() override;
    RPSection(const RPSection&) = delete;
    RPSection& operator=(const RPSection&) = delete;

    virtual int Index() const = 0;
    virtual int Write(std::uint8_t* out) const;
    // Bytes consumed: 56, or 80 for the detail band.
    virtual int Read(RecordReader& r);

    RPReport& Report() const { return report_; }
    IRepView* View() const;

    // --- objects ---
    const std::vector<std::unique_ptr<RPObject>>& Objects() const { return objects_; }
    int ObjectCount() const { return static_cast<int>(objects_.size()); }
    RPObject* ObjectAt(int i) const { return objects_[static_cast<std::size_t>(i)].get(); }
    RPObject* AddObject(std::unique_ptr<RPObject> object);
    void RemoveObject(RPObject* object);
    // Takes the object out without destroying it.
    std::unique_ptr<RPObject> Detach(RPObject* object);
    // h below 0 keeps the height; at most 31680, at least the lowest object bottom. Whether it changed.
    bool SetBandHeight(int h);
    int RightmostExtent() const;
    int LowestExtent() const;
    RPObject* ObjectAt(TPoint p, bool flag, int& code) const;
    void BringSelectionToTop();
    void SendSelectionToBottom();

    // --- designer placement ---
    void Place(int y);
    int HeaderTop() const;
    int BodyTop() const;
    int BodyBottom() const;
    TPoint BandToClient(TPoint p) const;
    TPoint ClientToBand(TPoint p) const;
    TRect BandToClient(const TRect& r) const;
    void InvalidateBandRect(const TRect& r) const;
    void InvalidateBody() const;
    void ToggleHighlight();

    // --- state ---
    bool Enabled() const { return enabled_ != 0; }
    void SetEnabled(bool on) { enabled_ = on ? 1 : 0; }
    bool Highlighted() const { return highlighted_ != 0; }
    int StoredHeight() const { return height_; }
    void StoreHeight(int h) { height_ = h; }
    void StoreBack(int c) { rgbBack_ = c; }

    // --- attributes ---
    bool HasAttr(int code) const override { return code == acHeight || code == acRGBBack; }
    int GetHeight() const override { return height_; }
    void SetHeight(int v) override;
    int GetRGBBack() const override { return ResolveColour(rgbBack_); }
    void SetRGBBack(int v) override;
    int GetForceNewPage() const override { return forceNewPage_; }
    void SetForceNewPage(int v) override;
    int GetHdFtPresent() const override { return hdFtPresent_; }
    void SetHdFtPresent(int v) override;

protected:
    void MarkModified() const;

    RPReport& report_;
    int enabled_ = 1;
    int height_ = 1440;
    int rgbBack_ = 0xFFFFFF;
    int forceNewPage_ = 0;
    int hdFtPresent_ = 0;
    int highlighted_ = 0;
    int headerTop_ = 0, bodyTop_ = 0, bodyBottom_ = 0;
    std::vector<std::unique_ptr<RPObject>> objects_;
};

class RPSectionPgHead : public RPSection {
public:
    using RPSection::RPSection;
    int Index() const override { return bandPageHeader; }
    bool HasAttr(int code) const override { return RPSection::HasAttr(code) || code == acHdFtPresent; }
};

class RPSectionRpHead : public RPSection {
public:
    using RPSection::RPSection;
    int Index() const override { return bandReportHeader; }
    bool HasAttr(int code) const override { return RPSection::HasAttr(code) || code == acForceNewPage; }
};

class RPSectionDetail : public RPSection {
public:
    using RPSection::RPSection;
    int Index() const override { return bandDetail; }
    bool HasAttr(int code) const override;
    int Write(std::uint8_t* out) const override;
    int Read(RecordReader& r) override;
    int GetNOfColumns() const override { return nOfColumns_; }
    void SetNOfColumns(int v) override;
    int GetColumnLayout() const override { return columnLayout_; }
    void SetColumnLayout(int v) override;
    int GetDetailSamples() const override { return detailSamples_; }
    void SetDetailSamples(int v) override;

private:
    int nOfColumns_ = 1;
    int columnLayout_ = 0;
    int detailSamples_ = 1;
};

class RPSectionRpFoot : public RPSection {
public:
    using RPSection::RPSection;
    int Index() const override { return bandReportFooter; }
    bool HasAttr(int code) const override { return RPSection::HasAttr(code) || code == acForceNewPage; }
};

class RPSectionPgFoot : public RPSection {
public:
    using RPSection::RPSection;
    int Index() const override { return bandPageFooter; }
    bool HasAttr(int code) const override { return RPSection::HasAttr(code) || code == acHdFtPresent; }
};

}  // namespace vyn
