// The sample list on the recalculated demo plate: rows and their texts, selection heard by the
// other views exactly once, identifications typed in place, the columns' least widths and the
// column titles that follow them, the current row kept on its sample, scrolling.
#include <gtest/gtest.h>

#include <QImage>

#include "DemoDocUtil.h"

#include "controls/QGEdit.h"
#include "document/QDoc.h"
#include "platform/gui/Dc.h"
#include "platform/gui/TestHook.h"
#include "views/QLView.h"
#include "views/QLViewTitles.h"

namespace vyn {
namespace {

using test::Spy;

struct ListFixture {
    std::unique_ptr<QDoc> doc;
    std::unique_ptr<Spy> spy;
    TWindow frame{nullptr};
    QLView* list = nullptr;
    QLViewTitles* titles = nullptr;
    ListFixture()
    {
        doc = test::OpenDemo();
        if (!doc) return;
        spy = std::make_unique<Spy>(*doc);
        frame.MoveWindow(0, 0, 500, 300);
        list = new QLView(*doc, &frame);
        // As the list's frame gives it its titles.
        titles = new QLViewTitles(&frame, *list);
        list->SetTitles(titles);
        frame.Create();
        frame.ShowWindow(SW_SHOW);
    }
    ~ListFixture()
    {
        frame.Destroy();
    }
    std::vector<long> Selections() const { return spy->Selections(); }
};

TEST(QLView, RowsShowNumbersIdentificationsAndResultsOfTheDemoPlate)
{
    ListFixture f;
    ASSERT_TRUE(f.list);
    const QPlate& p = f.doc->GetPlate();
    ASSERT_EQ(f.list->GetCount(), p.sampleCount);
    for (int i = 0; i < p.sampleCount; ++i) {
        const QSample* s = p.GetSample(i);
        SCOPED_TRACE(s->ident);
        const std::string expectNum = s->IsSequential() ? (s->SeqNumber() < 10 ? " " : "") + std::to_string(s->SeqNumber())
                                                        : std::string(1, static_cast<char>('A' + i));
        EXPECT_EQ(f.list->NumberText(i), expectNum);
        bool isText = true;
        const std::string r = f.list->ResultText(i, isText);
        EXPECT_FALSE(r.empty());  // every demo sample was calculated
    }
    // A row paints its identification in black on the light grey of a sequential row.
    f.list->SetSelIndex(-1);
    QImage img(f.list->GetClientRect().Width(), f.list->GetClientRect().Height(), QImage::Format_RGB32);
    TDC dc(img);
    f.list->Draw(dc);
    const int last = p.sampleCount - 1;
    const QRgb bg = img.pixel(f.list->NumberWidth() + 2, last * f.list->RowHeight() + 2);
    EXPECT_EQ(qRed(bg), 192);
    EXPECT_EQ(qBlue(bg), 192);
}

TEST(QLView, SelectionIsToldToTheOtherViewsOnceAndAFocusedSampleIsNotEchoed)
{
    ListFixture f;
    ASSERT_TRUE(f.list);
    const int y = f.list->RowHeight() * 2 + 3;
    f.list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(f.list->NumberWidth() + 10, y));
    f.list->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(f.list->NumberWidth() + 10, y));
    EXPECT_EQ(f.list->GetSelIndex(), 2);
    EXPECT_EQ(f.Selections(), std::vector<long>{2});
    // The same row again says nothing new.
    f.list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(f.list->NumberWidth() + 10, y));
    EXPECT_EQ(f.Selections(), std::vector<long>{2});
    // A sample graph focusing sample 1: the list follows, nobody hears a selection.
    f.doc->NotifySampleFocused(1);
    EXPECT_EQ(f.list->GetSelIndex(), 1);
    EXPECT_EQ(f.Selections(), std::vector<long>{2});
    // Keys move the selection; Escape drops it.
    f.list->SetFocus();
    TTestHook::Key(VK_DOWN, 0, f.list);
    EXPECT_EQ(f.list->GetSelIndex(), 2);
    TTestHook::Key(VK_ESCAPE, 0, f.list);
    EXPECT_EQ(f.list->GetSelIndex(), -1);
}

TEST(QLView, IdentificationsAreTypedInPlace)
{
    ListFixture f;
    ASSERT_TRUE(f.list);
    const QPlate& p = f.doc->GetPlate();
    const int row = p.fixedCount;  // the first sequential sample
    f.list->SetSelIndex(row);
    f.list->SendCommand(cmIdentifications);
    ASSERT_EQ(f.list->GetMode(), QLView::mdIdEntry);
    EXPECT_EQ(f.list->Edit()->GetWindowText(), p.GetSample(row)->ident);
    f.list->SetFocus();
    TTestHook::Type("X", f.list);  // a printable key opens the edit with it
    TTestHook::Type("17", f.list->Edit());
    EXPECT_EQ(f.list->Edit()->GetWindowText(), "X17");
    TTestHook::Key(VK_RETURN, 0, f.list->Edit());
    EXPECT_EQ(p.GetSample(row)->ident, "X17");
    EXPECT_TRUE(f.doc->IsDirty());
    TTestHook::Key(VK_ESCAPE, 0, f.list);
    EXPECT_EQ(f.list->GetMode(), QLView::mdDisplay);
}

TEST(QLView, ColumnsKeepTheirLeastWidthsAndTheTitlesFollow)
{
    ListFixture f;
    ASSERT_TRUE(f.list);
    const int cw = f.list->CharWidth();
    auto title = [&] {
        QImage img(f.titles->GetClientRect().Width() + 1, f.titles->GetClientRect().Height() + 1, QImage::Format_RGB32);
        TDC dc(img);
        f.titles->Draw(dc);
        return f.titles->IdentTitle();
    };
    EXPECT_EQ(title(), "Sample Id");
    f.list->MoveWindow(0, 0, 60, 200);  // far below the least width
    EXPECT_GE(f.list->IdentWidth(), 8 * cw);
    f.list->SetResultsPixelWidth(1);
    EXPECT_GE(f.list->ResultsPixelWidth(), 4 * cw);
    EXPECT_EQ(title(), "Id");
    f.list->MoveWindow(0, 0, 500, 200);
    f.list->SetResultsPixelWidth(10 * cw);
    EXPECT_EQ(title(), "Sample Id");
    // The results width is stored in the plate in quarter characters.
    f.list->SetFocus();
    TTestHook::Key(VK_LEFT, 0, f.list);
    EXPECT_EQ(f.doc->GetPlate().resultFieldWidth, ((f.list->ResultsPixelWidth() - 2 * (cw / 2)) * 4 + cw - 1) / cw);
}

TEST(QLView, CurrentRowStaysOnItsSampleWhenOneAboveGoes)
{
    ListFixture f;
    ASSERT_TRUE(f.list);
    f.list->Activated(true);
    QPlate& p = f.doc->GetPlate();
    f.list->SetSelIndex(2);
    QSample* current = p.GetSample(2);
    ASSERT_TRUE(f.doc->RemoveSample(p.GetSample(0)));
    EXPECT_EQ(f.list->GetSelIndex(), 1);
    EXPECT_EQ(p.GetSample(f.list->GetSelIndex()), current);
    // Removing the current sample itself leaves no row current.
    ASSERT_TRUE(f.doc->RemoveSample(current));
    EXPECT_EQ(f.list->GetSelIndex(), -1);
}

TEST(QLView, EscapeDeselectsAndTheOtherViewsHearIt)
{
    ListFixture f;
    ASSERT_TRUE(f.list);
    f.list->Activated(true);
    f.list->SetFocus();
    f.list->SetSelIndex(1);
    f.spy->heard.clear();
    TTestHook::Key(VK_ESCAPE, 0, f.list);
    EXPECT_EQ(f.list->GetSelIndex(), -1);
    EXPECT_EQ(f.Selections(), std::vector<long>{-1});
}

TEST(QLView, ScrollsItsRows)
{
    ListFixture f;
    ASSERT_TRUE(f.list);
    f.list->Activated(true);
    f.list->MoveWindow(0, 0, 400, 2 * f.list->RowHeight());
    int lo = -1, hi = -1;
    f.list->GetScrollRange(SB_VERT, lo, hi);
    EXPECT_EQ(hi, f.list->GetCount() - 2) << "the rows that do not fit";
    f.list->SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(f.list->GetTopIndex(), 1);
    EXPECT_EQ(f.list->GetScrollPos(SB_VERT), 1);
    f.list->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(f.list->GetTopIndex(), hi) << "not past the last row";
    f.list->SetSelIndex(0);
    EXPECT_EQ(f.list->GetTopIndex(), 0) << "the current row is brought into view";
}

}  // namespace
}  // namespace vyn
