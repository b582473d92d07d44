// The view's commands: the clipboard format, paste stacking, cut and delete, the enablers,
// the tools, Bring to Top, the sections and duplicate dialogs through their hooks, and the
// keyboard (Esc, Tab, the accelerators).
#include <gtest/gtest.h>

#include "DesignerFixture.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Command.h"
#include "reports/ByteIO.h"
#include "reports/RPObjectTextBox.h"

namespace vyn::test {
namespace {

bool Enabled(QRepView& v, unsigned id)
{
    TCommandEnabler ce(id);
    v.RouteCommandEnable(ce);
    return ce.IsEnabled();
}

struct Selected : DesignerFixture {
    RPObject* box = Add(bandDetail, otTextBox, 1440, 360, 1440, 360);
    RPObject* line = Add(bandDetail, otLine, 0, 900, 2880, 180);
    Selected()
    {
        static_cast<RPObjectTextBox*>(box)->StoreContents("=conc");
        view->SelectObject(box);
        view->SelectObject(line);
    }
};

TEST(Clipboard, CopyWritesTheCountAndEachRecordInSelectionOrder)
{
    Selected f;
    Clipboard::Clear();
    f.view->SendCommand(cmRepCopy);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(Clipboard::GetData(kRepObjFormat, bytes));
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(GetU32(bytes.data()), 2u);
    const std::uint32_t first = GetU32(bytes.data() + 4);
    EXPECT_EQ(first, static_cast<std::uint32_t>(f.box->Write(nullptr)));
    EXPECT_EQ(GetU32(bytes.data() + 8) & 0xFFFF, static_cast<std::uint32_t>(otTextBox));
    EXPECT_EQ(GetU32(bytes.data() + 4 + first + 4) & 0xFFFF, static_cast<std::uint32_t>(otLine));
    EXPECT_EQ(bytes.size(), 4 + first + static_cast<std::size_t>(f.line->Write(nullptr)));
    EXPECT_FALSE(f.doc.IsDirty());
}

TEST(Clipboard, SuccessivePastesStackDownwardFromThePastePoint)
{
    Selected f;
    f.view->SendCommand(cmRepCopy);
    f.view->SendCommand(cmRepPaste);  // no press yet: the first band, at the top-left corner
    RPSection& first = f.band(bandPageHeader);
    ASSERT_EQ(first.ObjectCount(), 2);
    EXPECT_EQ(first.ObjectAt(0)->TwipsRect(), TRect(1440, 0, 2880, 360));
    EXPECT_EQ(first.ObjectAt(1)->TwipsRect(), TRect(0, 540, 2880, 720));
    EXPECT_EQ(static_cast<RPObjectTextBox*>(first.ObjectAt(0))->GetContents(), "=conc");
    EXPECT_EQ(f.view->Selection(), (std::vector<RPObject*>{first.ObjectAt(0), first.ObjectAt(1)}));
    f.view->SendCommand(cmRepPaste);
    ASSERT_EQ(first.ObjectCount(), 4);
    EXPECT_EQ(first.ObjectAt(2)->TwipsRect(), TRect(1440, 720, 2880, 1080)) << "the second block lies below the first";
    EXPECT_TRUE(f.doc.IsDirty());
    EXPECT_GE(first.StoredHeight(), 1440);
}

TEST(Clipboard, PasteGoesToTheBandOfTheLastPressOneStepIn)
{
    Selected f;
    f.view->SendCommand(cmRepCopy);
    f.Click(f.At(bandReportFooter, 300, 40));
    f.Click(TPoint(20, f.band(bandPageFooter).BodyBottom() + 30));  // outside: no band, the paste band stays
    f.view->SendCommand(cmRepPaste);
    RPSection& footer = f.band(bandReportFooter);
    ASSERT_EQ(footer.ObjectCount(), 2);
    EXPECT_EQ(footer.ObjectAt(0)->TwipsRect(), TRect(1530, 90, 2970, 450));
}

TEST(Clipboard, DamagedClipboardDataPastesTheRecordsBeforeTheDamage)
{
    Selected f;
    f.view->SendCommand(cmRepCopy);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(Clipboard::GetData(kRepObjFormat, bytes));
    struct Case {
        const char* name;
        std::size_t keep;  // bytes kept
        std::uint32_t count;
        int pasted;
    } cases[] = {
        {"second record cut short", bytes.size() - 3, 2, 1},
        {"count larger than the records", bytes.size(), 9, 2},
        {"only the count", 4, 2, 0},
        {"less than a count", 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Selected g;
        std::vector<std::uint8_t> damaged(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.keep));
        if (damaged.size() >= 4) PutU32(damaged.data(), c.count);
        Clipboard::SetData(kRepObjFormat, damaged);
        g.view->SendCommand(cmRepPaste);
        EXPECT_EQ(g.band(bandPageHeader).ObjectCount(), c.pasted);
        EXPECT_EQ(g.doc.IsDirty(), c.pasted > 0);
    }
}

TEST(Commands, CutRemovesTheSelectionAndDeleteLeavesTheClipboard)
{
    Selected f;
    Clipboard::Clear();
    f.view->SendCommand(cmRepCut);
    EXPECT_EQ(f.band(bandDetail).ObjectCount(), 0);
    EXPECT_TRUE(f.view->Selection().empty());
    EXPECT_TRUE(Clipboard::HasFormat(kRepObjFormat));
    EXPECT_TRUE(f.doc.IsDirty());

    Selected g;
    Clipboard::Clear();
    TTestHook::Key(VK_DELETE, 0, g.view);
    EXPECT_EQ(g.band(bandDetail).ObjectCount(), 0);
    EXPECT_FALSE(Clipboard::HasFormat(kRepObjFormat));
}

TEST(Commands, EnablersFollowSelectionToolAndClipboard)
{
    Selected f;
    Clipboard::Clear();
    EXPECT_TRUE(Enabled(*f.view, cmRepCopy));
    EXPECT_FALSE(Enabled(*f.view, cmRepPaste)) << "nothing to paste";
    EXPECT_FALSE(Enabled(*f.view, cmRepUndo));
    f.view->SendCommand(cmRepCopy);
    EXPECT_TRUE(Enabled(*f.view, cmRepPaste));
    f.view->SendCommand(cmRepRectangle);
    EXPECT_TRUE(f.view->Selection().empty()) << "a placing tool clears the selection";
    EXPECT_FALSE(Enabled(*f.view, cmRepPaste));
    EXPECT_FALSE(Enabled(*f.view, cmRepSections));
    TCommandEnabler check(cmRepRectangle);
    f.view->RouteCommandEnable(check);
    EXPECT_EQ(check.GetCheck(), TCommandEnabler::Checked);
}

TEST(Commands, BringToTopAndSendToBottomKeepTheOrderOfTheSelected)
{
    DesignerFixture f;
    RPObject* a = f.Add(bandDetail, otRectangle, 0, 0, 360, 360);
    RPObject* b = f.Add(bandDetail, otRectangle, 90, 0, 360, 360);
    RPObject* c = f.Add(bandDetail, otRectangle, 180, 0, 360, 360);
    f.view->SelectObject(a);
    f.view->SelectObject(b);
    f.view->SendCommand(cmRepBringToTop);
    const auto order = [&f] {
        std::vector<RPObject*> v;
        for (const auto& o : f.band(bandDetail).Objects()) v.push_back(o.get());
        return v;
    };
    EXPECT_EQ(order(), (std::vector<RPObject*>{c, a, b}));
    f.view->SendCommand(cmRepSendToBottom);
    EXPECT_EQ(order(), (std::vector<RPObject*>{a, b, c}));
    EXPECT_TRUE(f.doc.IsDirty());
}

TEST(Commands, SectionsDialogTogglesBandsAndUnchangedFlagsChangeNothing)
{
    DesignerFixture f;
    RPObject* o = f.Add(bandReportHeader, otRectangle, 0, 0, 360, 360);
    f.view->SelectObject(o);
    std::string seen;
    GetRepViewShell().sectionsDialog = [&seen](QRepView&, std::string& flags) {
        seen = flags;
        return true;
    };
    f.view->SendCommand(cmRepSections);
    EXPECT_EQ(seen, "11111");
    EXPECT_FALSE(f.doc.IsDirty());

    GetRepViewShell().sectionsDialog = [](QRepView&, std::string& flags) {
        flags = "10101";
        return true;
    };
    f.view->SendCommand(cmRepSections);
    EXPECT_EQ(f.view->BandTable().size(), 3u);
    EXPECT_TRUE(f.view->Selection().empty()) << "objects of a hidden band leave the selection";
    EXPECT_TRUE(f.doc.IsDirty());
    GetRepViewShell().sectionsDialog = [](QRepView&, std::string& flags) {
        flags = "11101";
        return true;
    };
    f.view->SendCommand(cmRepSections);
    EXPECT_EQ(f.view->ActiveBand(), &f.band(bandReportHeader)) << "a band shown again becomes the active one";
}

TEST(Commands, DuplicateThatCannotFitSaysSoAndOneCopyIsNotAChange)
{
    DesignerFixture f;
    RPObject* o = f.Add(bandDetail, otRectangle, 28800, 0, 1440, 360);
    f.view->SelectObject(o);
    GetRepViewShell().duplicateDialog = [](QRepView&, DuplicateRequest& r) {
        r.columns = 4;
        r.rows = 1;
        return true;
    };
    f.hook.AnswerMessageBox(IDOK);
    f.view->SendCommand(cmRepDuplicate);
    ASSERT_EQ(f.hook.MessageTexts(), std::vector<std::string>{"CANNOT FIT OBJECTS"});
    EXPECT_EQ(f.band(bandDetail).ObjectCount(), 1);

    GetRepViewShell().duplicateDialog = [](QRepView&, DuplicateRequest& r) {
        r.columns = 1;
        r.rows = 1;
        return true;
    };
    f.view->SendCommand(cmRepDuplicate);
    EXPECT_FALSE(f.doc.IsDirty());
}

TEST(Keyboard, TabWalksBandsAndObjectsAndEscClears)
{
    DesignerFixture f;
    RPObject* a = f.Add(bandReportHeader, otRectangle, 0, 0, 360, 360);
    RPObject* b = f.Add(bandReportHeader, otRectangle, 720, 0, 360, 360);
    int reloads = 0;
    GetRepViewShell().attrUpdate = [&reloads](QRepView&, AttrUpdate how) { reloads += how == AttrUpdate::Reload; };

    struct Step {
        unsigned keys;
        RPSection* band;
        RPObject* object;
    } steps[] = {
        {0, &f.band(bandPageHeader), nullptr},   // nothing active: the first band
        {0, &f.band(bandReportHeader), nullptr}, // an empty band: the next band
        {0, nullptr, a},                         // a band's first object
        {0, nullptr, b},
        {0, &f.band(bandDetail), nullptr},       // after a band's last object: the next band
        {MK_SHIFT, nullptr, b},                  // backwards from a band: the last object of the band above
    };
    for (const Step& s : steps) {
        TTestHook::Key(VK_TAB, s.keys, f.view);
        if (s.object) {
            EXPECT_EQ(f.view->Selection(), std::vector<RPObject*>{s.object});
            EXPECT_EQ(f.view->ActiveBand(), nullptr);
        } else {
            EXPECT_TRUE(f.view->Selection().empty());
            EXPECT_EQ(f.view->ActiveBand(), s.band);
        }
    }
    TTestHook::Key(VK_TAB, MK_SHIFT, f.view);
    EXPECT_EQ(f.view->Selection(), std::vector<RPObject*>{a});
    TTestHook::Key(VK_TAB, MK_SHIFT, f.view);
    EXPECT_EQ(f.view->ActiveBand(), &f.band(bandReportHeader)) << "Shift+Tab from a band's first object: the band";
    const int before = reloads;
    TTestHook::Key(VK_ESCAPE, 0, f.view);
    EXPECT_EQ(f.view->ActiveBand(), nullptr);
    EXPECT_EQ(reloads, before + 1);
    TTestHook::Key(VK_ESCAPE, 0, f.view);
    EXPECT_EQ(reloads, before + 1) << "Esc with nothing to clear does not reload the attributes";
}

// A clipboard block of objects with the given rectangles, as another copy of the program (or a
// damaged one) may leave it.
void PutObjects(const std::vector<TRect>& rects)
{
    std::vector<std::uint8_t> block(4);
    PutU32(block.data(), static_cast<std::uint32_t>(rects.size()));
    for (const TRect& r : rects) {
        auto o = RPObject::Create(otRectangle);
        o->SetPos(TPoint(r.left, r.top));
        o->SetSize(TSize(r.right, r.bottom));  // right and bottom carry width and height
        const std::size_t at = block.size();
        block.resize(at + static_cast<std::size_t>(o->Write(nullptr)));
        o->Write(block.data() + at);
    }
    ASSERT_TRUE(Clipboard::SetData(kRepObjFormat, block));
}

TEST(Clipboard, PastedObjectsAndTheirBandStayInsideTheReportArea)
{
    // A record with a length outside the report area is refused and ends the paste; lengths
    // that fit one by one but not together are pulled inside.
    const struct {
        std::vector<TRect> rects;
        int perPaste;
    } cases[] = {
        {{TRect(0x7FFFFF00, 0, 0x7FFFFF00, 360)}, 0},  // left and width far out
        {{TRect(0, 0, 720, 2000000000)}, 0},           // height
        {{TRect(100, 100, -500, -70000)}, 0},          // negative sizes
        {{TRect(0, 0, 720, 360), TRect(-40000, 31000, 720, 360)}, 1},
        {{TRect(31000, 30000, 31000, 30000)}, 1},      // far edges at 62000 and 60000
        {{TRect(0, 0, 20000, 20000)}, 1},              // fits once, pasted twice below
    };
    for (const auto& c : cases) {
        DesignerFixture f;
        PutObjects(c.rects);
        f.view->SendCommand(cmRepPaste);
        f.view->SendCommand(cmRepPaste);
        RPSection& band = f.band(bandPageHeader);
        SCOPED_TRACE(testing::Message() << c.rects[0].left << " " << c.rects[0].right);
        ASSERT_EQ(band.ObjectCount(), 2 * c.perPaste);
        for (int i = 0; i < band.ObjectCount(); ++i) {
            const RPObject& o = *band.ObjectAt(i);
            EXPECT_GE(o.GetLeft(), 0);
            EXPECT_GE(o.GetTop(), 0);
            EXPECT_GE(o.GetWidth(), 0);
            EXPECT_GE(o.GetHeight(), 0);
            EXPECT_LE(o.GetLeft() + o.GetWidth(), 31680);
            EXPECT_LE(o.GetTop() + o.GetHeight(), 31680);
        }
        EXPECT_LE(band.GetHeight(), 31680);
        EXPECT_LE(f.report().GetWidth(), 31680);
        EXPECT_EQ(f.doc.IsDirty(), c.perPaste > 0);
    }
}

TEST(Commands, CutOfATextTheClipboardCannotHoldSaysSoAndKeepsIt)
{
    DesignerFixture f;
    auto* box = static_cast<RPObjectTextBox*>(f.Add(bandDetail, otTextBox, 0, 0, 1440, 360));
    box->StoreContents(std::string(70000, 'x'));
    f.view->SelectObject(box);
    Clipboard::Clear();
    f.hook.AnswerMessageBox(IDOK);
    f.view->SendCommand(cmRepCut);
    EXPECT_EQ(f.hook.MessageTexts(),
              (std::vector<std::string>{"A text of more than 65000 characters cannot be put on the clipboard."}));
    ASSERT_EQ(f.band(bandDetail).ObjectCount(), 1) << "nothing reached the clipboard, nothing is deleted";
    EXPECT_EQ(box->GetContents().size(), 70000u);
    EXPECT_FALSE(Clipboard::HasFormat(kRepObjFormat));
    EXPECT_FALSE(f.doc.IsDirty());

    box->StoreContents(std::string(65000, 'y'));  // the longest that fits goes whole
    f.view->SendCommand(cmRepCut);
    f.view->SendCommand(cmRepPaste);
    ASSERT_EQ(f.band(bandPageHeader).ObjectCount(), 1);
    EXPECT_EQ(static_cast<RPObjectTextBox*>(f.band(bandPageHeader).ObjectAt(0))->GetContents().size(), 65000u);
}

}  // namespace
}  // namespace vyn::test
