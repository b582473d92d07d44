#pragma once
// One report definition: five bands with their objects, width, name and description, the
// design grid and the print scales; at once an attribute target, the source of the report
// stream and the run of the engine (pagination and evaluation), and a variable pool through
// which report formulas reach "page", "pages", "filename", "filepath" and "report".
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "evaluator/TFuncPool.h"
#include "evaluator/TVarPool.h"
#include "platform/core/Geometry.h"
#include "reports/RPRun.h"
#include "reports/RPScale.h"
#include "reports/RPSection.h"

namespace vyn {

class IRepView;
class QPlate;
class QDoc;
class IStatusReport;

// What a run asks of the window system: the sample-simulation dialog and the run's "Status"
// dialog. Without them a run keeps the simulated numbers it has and goes on past every error
// as if "Ignor this" had been chosen.
struct RPRunShell {
    // fixed and sequential sample counts in and out; the numbers are taken as typed.
    std::function<void(int& fixed, int& sequential)> fakeSamples;
    std::function<std::unique_ptr<IStatusReport>()> makeStatus;
};
RPRunShell& GetRPRunShell();

// The part of the printout that the run reads and writes (set up by the printout).
struct RPPrintContext {
    TRect pageRect{0, 0, 0, 0};  // device units, inside the margins
    int dpiX = 180;
    int dpiY = 180;
    int pageCount = 0;
    bool keepLayout = false;  // the preview keeps one layout while it is open
};

inline constexpr int kStreamHeaderSize = 196;
inline constexpr std::uint32_t kStreamFormatMark = 0x00100000;
inline constexpr std::uint32_t kStreamVersion = 0x00010000;
inline constexpr int kMaxNameLength = 42;
inline constexpr int kMaxDescriptionLength = 74;

class RPReport : public RPObjAttr, public TVarPool, public TFuncPool {
public:
    RPReport();
    ~RPReport() override;
    RPReport(const RPReport&) = delete;
    RPReport& operator=(const RPReport&) = delete;

    // --- definition ---
    RPSection& Band(int index) const { return *bandTable_[static_cast<std::size_t>(index)]; }
    RPSectionDetail& Detail() const { return static_cast<RPSectionDetail&>(Band(bandDetail)); }
    const std::string& Name() const { return name_; }
    const std::string& Description() const { return description_; }
    void SetName(const std::string& s) { name_ = s; }
    void SetDescription(const std::string& s) { description_ = s; }
    int Width() const { return width_; }
    void StoreWidth(int w) { width_ = w; }
    // w below 0 keeps the width; clamped to 720..31680 and at least the rightmost extent
    // over the enabled bands. Whether the width changed.
    bool SetReportWidth(int w);
    RPScale& GridX() { return gridX_; }
    RPScale& GridY() { return gridY_; }
    RPScale& PrintScaleX() { return printX_; }
    RPScale& PrintScaleY() { return printY_; }
    const RPScale& PrintScaleX() const { return printX_; }
    const RPScale& PrintScaleY() const { return printY_; }

    // --- designer ---
    void AttachView(IRepView* view);
    IRepView* View() const { return view_; }
    int UpdatePixelWidth();
    int PixelWidth() const { return pixelWidth_; }
    int GetSelectionExtent(TRect& rect, bool& snap, int& mixed, int& cells, int& column, int& row) const;
    int DuplicateSelection(int left, int top, int right, int bottom, bool grid, int columns, int rows,
                           bool renumber, int dx, int dy);

    // --- attributes ---
    bool HasAttr(int code) const override { return code == acWidth || code == acGranulX || code == acGranulY; }
    int GetWidth() const override { return width_; }
    void SetWidth(int v) override;
    int GetGranulX() const override { return gridX_.Divisions(); }
    int GetGranulY() const override { return gridY_.Divisions(); }
    void SetGranulX(int v) override;
    void SetGranulY(int v) override;

    // --- report stream ---
    // The stream as bytes; empty when it cannot be built.
    std::vector<std::uint8_t> WriteStream() const;
    // Reads a stream that starts at data[start] into an empty report: 0 done, 1 refused.
    // What was read before a refusal stays in the report.
    int ReadStream(const std::uint8_t* data, std::size_t size, std::size_t start = 0);

    // --- run ---
    void SetRunSource(QPlate* plate, QDoc* doc) { plate_ = plate; doc_ = doc; }
    QPlate* Plate() const { return plate_; }
    QDoc* Doc() const { return doc_; }
    RPPrintContext& Print() { return print_; }
    const RPPrintContext& Print() const { return print_; }
    int FirstSequential() const { return firstSeq_; }
    int SequentialCount() const { return seqCount_; }
    void SetSimulatedSamples(int fixed, int sequential) { firstSeq_ = fixed; seqCount_ = sequential; }
    int CurrentPage() const { return currentPage_; }

    // Lays out the run and evaluates it; sets the page count (0 = nothing to print).
    void Paginate();
    void FreePages();
    // 1 when the user aborted, else 0.
    int EvaluateAll();
    const std::vector<std::unique_ptr<RPSecInst>>& SectionInstances() const { return secInsts_; }
    const std::vector<std::unique_ptr<RPPage>>& Pages() const { return pages_; }
    RPPage* Page(int n) const;  // 1-based; none outside the page count
    TRect PenExtent(int points) const;

    bool GetVar(TStackVal& value) override;
    bool CallFunc(TStackVal* args, int count) override;

private:
    friend class RPPage;
    friend class RPSecInst;
    void BuildSectionInstances();
    int AddBandSlices(RPSection& band, int sample);
    void AddBandColumnInstance(RPSection& band, int sample);
    void SplitIntoPages();
    void DeleteRunState();
    int RunStatus(IStatusReport& dialog, int& ignoreAll);

    std::array<std::unique_ptr<RPSection>, 5> bands_;
    std::array<RPSection*, 5> bandTable_{};
    int width_ = 8640;
    std::string name_;
    std::string description_;
    RPScale gridX_;
    RPScale gridY_;
    int pixelWidth_ = 0;
    IRepView* view_ = nullptr;
    RPScale printX_;
    RPScale printY_;

    QPlate* plate_ = nullptr;
    QDoc* doc_ = nullptr;
    RPPrintContext print_;
    int firstSeq_ = -1;
    int seqCount_ = -1;
    int currentPage_ = 0;
    int pagesUsed_ = 0;
    TRect lastPageRect_{0, 0, 0, 0};
    std::vector<std::unique_ptr<RPSecInst>> secInsts_;
    std::vector<std::unique_ptr<RPPage>> pages_;
    IStatusReport* status_ = nullptr;
    friend class RPObjInst;
    friend class RPObjInstTextBox;
    friend class RPObjInstGraph;
};

}  // namespace vyn
