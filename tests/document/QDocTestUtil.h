#pragma once
// Builders shared by the plate document tests: a view that records what the document tells
// it, a scripted "Status" report, and a document with the usual descriptors.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "document/DocShell.h"
#include "document/QDoc.h"
#include "plate/QDesc.h"

namespace vyn::test {

struct Heard {
    int event;
    long item;
    bool operator==(const Heard&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Heard& h)
{
    return os << "{" << h.event << ", " << h.item << "}";
}

class RecordingView : public TView {
public:
    explicit RecordingView(TDocument& doc, std::string name = "QPView") : TView(doc), name_(std::move(name)) {}
    const char* GetViewName() override { return name_.c_str(); }
    bool VnNotify(int event, long item) override
    {
        heard.push_back({event, item});
        return true;
    }
    std::vector<Heard> heard;

private:
    std::string name_;
};

// One Status report as the user saw it.
struct ShownReport {
    std::string title;
    std::vector<std::string> lines;  // "name | text | detail" per line
};

// Answers each report with the next scripted button (Ignor this when the script is out).
class ScriptedReport : public IStatusReport {
public:
    explicit ScriptedReport(std::deque<int> answers = {}) : answers_(std::move(answers)) {}
    void SetTitle(const std::string& title) override { current_.title = title; }
    void AddEntry(const std::string& name, const std::string& text) override
    {
        current_.lines.push_back(name + " | " + text);
    }
    void AddErrorDetail(const std::string& name, const std::string& text, const std::string& detail) override
    {
        current_.lines.push_back(name + " | " + text + " | " + detail);
    }
    void AddMessage(const std::string& text) override { current_.lines.push_back(text); }
    void AddBlankLine() override { current_.lines.emplace_back(); }
    int Run() override
    {
        shown.push_back(current_);
        current_ = {};
        if (answers_.empty()) return kStatusIgnoreThis;
        const int a = answers_.front();
        answers_.pop_front();
        return a;
    }
    std::vector<ShownReport> shown;

private:
    std::deque<int> answers_;
    ShownReport current_;
};

inline QDesc* AddDesc(QPlate& plate, std::uint32_t kind, const std::string& name)
{
    plate.descs.push_back(std::make_unique<QDesc>(kind, name, TColor(0, 0, 0), ""));
    return plate.descs.back().get();
}

// Well index of a name such as "B3" on a 12-column plate.
inline int W(const char* name)
{
    return (name[0] - 'A') * 12 + std::stoi(name + 1) - 1;
}

// A document with one view and the four layout descriptors.
struct DocFixture {
    QDoc doc;
    RecordingView* view = new RecordingView(doc);  // the document deletes it
    QPlate& p = doc.GetPlate();
    QDesc* ctl = AddDesc(p, skGlobal, "BL");
    QDesc* standard = AddDesc(p, skStandard, "ST");
    QDesc* qual = AddDesc(p, skQualitative, "QS");
    QDesc* quant = AddDesc(p, skQuantitative, "NS");

    std::vector<Heard> Take()
    {
        std::vector<Heard> h = std::move(view->heard);
        view->heard.clear();
        return h;
    }
    // Wells of a sample as names, in entry order, with their groups: "C1/0 C2/1".
    std::string Layout(const QSample* s) const
    {
        std::string out;
        if (!s) return "(none)";
        for (const QSegm& e : s->wells) {
            if (!out.empty()) out += ' ';
            out += p.FormatWellName(e.well) + "/" + std::to_string(e.group);
        }
        return out;
    }
    // Every well's record points back at the entry that names it, and only those are bound.
    bool Consistent() const
    {
        int bound = 0;
        for (int w = 0; w < p.wellCount; ++w) {
            const QWellRecord& r = p.wells[static_cast<std::size_t>(w)];
            if (!r.sample) continue;
            ++bound;
            if (r.position < 0 || r.position >= r.sample->WellCount()) return false;
            if (r.sample->wells[static_cast<std::size_t>(r.position)].well != w) return false;
        }
        int entries = 0;
        for (int i = 0; i < p.sampleCount; ++i) {
            if (p.GetSample(i)->index != i) return false;
            entries += p.GetSample(i)->WellCount();
        }
        if (p.globInUse) entries += p.globInUse->WellCount();
        if (p.stdInUse) entries += p.stdInUse->WellCount();
        return bound == entries;
    }
};

}  // namespace vyn::test
