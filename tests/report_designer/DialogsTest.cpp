// The designer's dialogs run by the view's commands: Report Sections with its hint line and page
// preview, Duplicate Objects with its checks, Insert Picture when the picture tool places, and
// the sample simulation of a report run without a plate.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QWidget>

#include "../reports/WmfFixture.h"
#include "DesignerFixture.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/Dc.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/DesignerDialogs.h"
#include "reports/RPObject.h"

namespace vyn::test {
namespace {

struct DialogFixture : DesignerFixture {
    DialogFixture() { InstallDesignerDialogs(); }
};

TCheckBox& Box(TDialog& d, int id) { return *dynamic_cast<TCheckBox*>(d.GetDlgItem(id)); }
bool IsChecked(TDialog& d, int id) { return Box(d, id).GetCheck() == TCheckBox::BF_CHECKED; }

// The mouse entering a control, as the window system reports it.
void Hover(TWindow& w)
{
    QEvent e(QEvent::Enter);
    QApplication::sendEvent(w.Widget(), &e);
}

// --- sections ---

TEST(SectionsDialog, ShowsTheBandsAndOkTogglesWhatWasClicked)
{
    DialogFixture f;
    f.band(bandReportFooter).SetEnabled(false);
    f.view->LayoutSections();
    std::string shown;
    f.hook.AnswerDialog(idRPSecDlg, IDOK, [&shown](TDialog& d) {
        for (int id = 101; id <= 105; ++id) shown += IsChecked(d, id) ? '1' : '0';
        Box(d, 102).Click();  // report header off
        Box(d, 104).Click();  // report footer on
    });
    f.view->SendCommand(cmRepSections);
    EXPECT_EQ(shown, "11101");
    EXPECT_FALSE(f.band(bandReportHeader).Enabled());
    EXPECT_TRUE(f.band(bandReportFooter).Enabled());
    EXPECT_EQ(f.view->BandTable().size(), 4u);
    EXPECT_TRUE(f.doc.IsDirty());
    EXPECT_STREQ(gSectionFlags, "10111");
}

TEST(SectionsDialog, CancelKeepsTheBandsButTheFlagsHoldTheClicks)
{
    DialogFixture f;
    f.hook.AnswerDialog(idRPSecDlg, IDCANCEL, [](TDialog& d) {
        for (int id = 101; id <= 105; ++id) Box(d, id).Click();
    });
    f.view->SendCommand(cmRepSections);
    EXPECT_EQ(f.view->BandTable().size(), 5u);
    EXPECT_FALSE(f.doc.IsDirty());
    EXPECT_STREQ(gSectionFlags, "00000");

    // All boxes off is accepted: every band goes.
    f.hook.AnswerDialog(idRPSecDlg, IDOK, [](TDialog& d) {
        for (int id = 101; id <= 105; ++id) Box(d, id).Uncheck();
        for (int id = 101; id <= 105; ++id) d.SendCommand(static_cast<unsigned>(id), BN_CLICKED, d.GetDlgItem(id));
    });
    f.view->SendCommand(cmRepSections);
    EXPECT_TRUE(f.view->BandTable().empty());
}

TEST(SectionsDialog, HintLineFollowsTheMouseOverTheBoxes)
{
    DialogFixture f;
    std::vector<std::string> hints;
    f.hook.AnswerDialog(idRPSecDlg, IDCANCEL, [&hints](TDialog& d) {
        hints.push_back(d.GetDlgItemText(301));
        Hover(*d.GetDlgItem(102));
        hints.push_back(d.GetDlgItemText(301));
        Hover(*d.GetDlgItem(105));
        hints.push_back(d.GetDlgItemText(301));
        Hover(*d.GetDlgItem(IDOK));
        hints.push_back(d.GetDlgItemText(301));
    });
    f.view->SendCommand(cmRepSections);
    EXPECT_EQ(hints, (std::vector<std::string>{"...", "Report header appears just once at the beginning ...",
                                               "Page footer appears on every page ...", ""}));
}

// The preview drawn on an image: colour at a point given in percent of the button.
struct Preview {
    QImage image{200, 200, QImage::Format_RGB32};
    explicit Preview(const char* flags)
    {
        DialogFixture f;
        f.hook.AnswerDialog(idRPSecDlg, IDCANCEL, [this, flags](TDialog& d) {
            auto& dlg = static_cast<RPSecDlg&>(d);
            dlg.preview->SetWindowText(flags);
            TDC dc(image);
            TDrawItem item{201, 0, ODA_DRAWENTIRE, 0, dc, TRect(0, 0, 200, 200), 0};
            dlg.preview->DrawItem(item);
        });
        f.view->SendCommand(cmRepSections);
    }
    unsigned At(int xPercent, int yPercent) const { return image.pixel(xPercent * 2, yPercent * 2) & 0xFFFFFF; }
};

TEST(SectionsDialog, PreviewShowsTheFirstAndAFollowingPage)
{
    constexpr unsigned cyan = 0x00FFFF, grey = 0x808080, light = 0xC0C0C0, red = 0xFF0000, white = 0xFFFFFF;
    // Front page: x 20..60 %, y 10..60 %; back page: x 40..80 %, y 40..90 %.
    Preview all("11111");
    EXPECT_EQ(all.At(30, 16), cyan) << "page header of the first page";
    EXPECT_EQ(all.At(30, 25), grey) << "report header below it";
    EXPECT_EQ(all.At(30, 33), red) << "detail rows follow";
    EXPECT_EQ(all.At(70, 75), light) << "report footer on the following page";
    EXPECT_EQ(all.At(70, 84), cyan) << "above its page footer";
    EXPECT_EQ(all.At(90, 95), light) << "grey around the pages";

    Preview noDetail("11010");
    EXPECT_EQ(noDetail.At(70, 75), white) << "the following page is empty";
    EXPECT_EQ(noDetail.At(30, 36), light) << "the report footer directly under the headers";

    Preview none("00000");
    EXPECT_EQ(none.At(30, 30), white);
    EXPECT_EQ(none.At(70, 75), white);
}

// --- duplicate objects ---

struct CellBoxes : DialogFixture {
    // Text boxes evaluated at the given cells ("B5"), one below the other.
    std::vector<RPObject*> Boxes(const std::vector<const char*>& cells)
    {
        std::vector<RPObject*> out;
        int top = 0;
        for (const char* cell : cells) {
            RPObject* o = Add(bandDetail, otTextBox, 0, top, 720, 180);
            QRSource s;
            s.Set(srCell, cell, "");
            o->StoreSource(s);
            view->SelectObject(o);
            out.push_back(o);
            top += 180;
        }
        return out;
    }
};

struct DupState {
    std::string cellLabel, comment;
    bool cellShown = false, warning = false, rows = false, columns = false, smart = false;
};

DupState Read(TDialog& d)
{
    auto& dlg = static_cast<QReplObj&>(d);
    DupState s;
    s.cellLabel = d.GetDlgItemText(109);
    s.cellShown = d.GetDlgItem(109)->IsWindowVisible();
    s.comment = d.GetDlgItemText(108);
    s.warning = dlg.Warning() && static_cast<TStatic*>(d.GetDlgItem(108))->HasColors();
    s.rows = d.GetDlgItem(101)->IsWindowEnabled() && d.GetDlgItem(103)->IsWindowEnabled();
    s.columns = d.GetDlgItem(102)->IsWindowEnabled() && d.GetDlgItem(104)->IsWindowEnabled();
    s.smart = d.GetDlgItem(105)->IsWindowEnabled();
    return s;
}

TEST(DuplicateDialog, CellContextsDecideWhatCanBeCopied)
{
    struct Case {
        std::vector<const char*> cells;
        const char* label;
        const char* comment;
        bool warning, rows, columns, smart;
    };
    const Case cases[] = {
        {{"B5", "B7", "B9"}, " Row B", " 3 object(s) to duplicate.", false, true, false, true},
        {{"A1", "A1"}, " Cell A1", " 2 object(s) to duplicate.", false, true, true, true},
        {{"C4", "D4"}, " Col. 4", " 2 object(s) to duplicate.", false, false, true, true},
        {{"A1", "B2"}, "", " Cannot duplicate - conflict in object source.", true, false, false, false},
    };
    for (const Case& c : cases) {
        CellBoxes f;
        f.Boxes(c.cells);
        DupState seen;
        f.hook.AnswerDialog(idQReplObj, IDOK, [&seen](TDialog& d) { seen = Read(d); });
        f.view->SendCommand(cmRepDuplicate);
        SCOPED_TRACE(c.comment);
        EXPECT_EQ(seen.cellShown, *c.label != 0);
        if (*c.label) {
            EXPECT_EQ(seen.cellLabel, c.label);
        }
        EXPECT_EQ(seen.comment, c.comment);
        EXPECT_EQ(seen.warning, c.warning);
        EXPECT_EQ(seen.rows, c.rows);
        EXPECT_EQ(seen.columns, c.columns);
        EXPECT_EQ(seen.smart, c.smart);
        EXPECT_EQ(f.band(bandDetail).ObjectCount(), static_cast<int>(c.cells.size())) << "one copy is no change";
        EXPECT_FALSE(f.doc.IsDirty());
    }
}

TEST(DuplicateDialog, CopiesMustStayOnThePlateAndCountsMustBeSound)
{
    CellBoxes f;
    f.Boxes({"B5", "B7", "B9"});
    std::vector<std::string> comments;
    auto tryRows = [&comments](TDialog& d, const char* rows) {
        d.SetDlgItemText(101, rows);
        d.SendCommand(IDOK);
        comments.push_back(d.HasEnded() ? "ended" : d.GetDlgItemText(108));
    };
    f.hook.AnswerDialog(idQReplObj, 0, [&](TDialog& d) {
        tryRows(d, "8");
        tryRows(d, "0");
        tryRows(d, "2000000000");
        tryRows(d, "7");
    });
    f.view->SendCommand(cmRepDuplicate);
    EXPECT_EQ(comments, (std::vector<std::string>{" Cannot enter more than 7 row(s).", " Wrong number of rows.",
                                                  " Wrong number of rows.", "ended"}));
    EXPECT_EQ(f.band(bandDetail).ObjectCount(), 3 * 7);
    EXPECT_TRUE(f.doc.IsDirty());
    // The copies' cells moved down the rows: the last block is evaluated at row H.
    EXPECT_EQ(f.band(bandDetail).ObjectAt(20)->GetSource().row, 7);

    CellBoxes g;
    g.Boxes({"A1", "A1"});
    comments.clear();
    g.hook.AnswerDialog(idQReplObj, IDCANCEL, [&comments](TDialog& d) {
        d.SetDlgItemText(102, "13");
        d.SendCommand(IDOK);
        comments.push_back(d.GetDlgItemText(108));
    });
    g.view->SendCommand(cmRepDuplicate);
    EXPECT_EQ(comments, (std::vector<std::string>{" Cannot enter more than 12 column(s)."}));
}

TEST(DuplicateDialog, EditsAreNormalisedWhenTheyLoseTheFocus)
{
    DialogFixture f;
    f.view->SelectObject(f.Add(bandDetail, otRectangle, 0, 0, 720, 360));
    f.view->SendCommand(cmRepSnap);  // lengths, not grid steps
    std::vector<std::string> texts;
    f.hook.AnswerDialog(idQReplObj, IDCANCEL, [&texts](TDialog& d) {
        texts.push_back(d.GetDlgItemText(104));
        const std::pair<int, const char*> typed[] = {{104, "2 cm"}, {103, "abc"}, {101, "-3"}, {102, "x"}};
        for (auto [id, text] : typed) {
            d.SetDlgItemText(id, "");
            d.GetDlgItem(id)->SetFocus();
            TTestHook::Type(text);
            d.GetDlgItem(105)->SetFocus();
            TTestHook::ProcessEvents();
            texts.push_back(d.GetDlgItemText(id));
        }
    });
    f.view->SendCommand(cmRepDuplicate);
    EXPECT_EQ(texts, (std::vector<std::string>{"0 in", "0.7875 in", "0 in", "1", "x"}))
        << "a text that is no whole number stays for OK to refuse";
}

TEST(DuplicateDialog, RowsAndSpacingLayCopiesOutAndTheDialogRemembers)
{
    DialogFixture f;
    f.view->SelectObject(f.Add(bandDetail, otRectangle, 0, 0, 720, 360));
    QReplObj::KeptPosition() = TPoint(32767, 32767);
    TPoint closedAt;
    f.hook.AnswerDialog(idQReplObj, IDOK, [&closedAt](TDialog& d) {
        EXPECT_TRUE(d.GetDlgItem(106)->IsWindowVisible()) << "grid steps while snapping";
        EXPECT_EQ(d.GetDlgItemText(103), "0");
        d.SetDlgItemText(102, "3");
        d.SetDlgItemText(104, "2");  // two grid steps of 90 twips
        Box(d, 105).Uncheck();
        d.MoveWindow(40, 50, d.GetWindowRect().Width(), d.GetWindowRect().Height());
        closedAt = TPoint(d.GetWindowRect().left, d.GetWindowRect().top);
    });
    f.view->SendCommand(cmRepDuplicate);
    RPSection& band = f.band(bandDetail);
    ASSERT_EQ(band.ObjectCount(), 3);
    EXPECT_EQ(band.ObjectAt(1)->TwipsRect(), TRect(900, 0, 1620, 360));
    EXPECT_EQ(band.ObjectAt(2)->TwipsRect(), TRect(1800, 0, 2520, 360));

    TPoint reopenedAt;
    bool smart = true;
    f.hook.AnswerDialog(idQReplObj, IDCANCEL, [&](TDialog& d) {
        reopenedAt = TPoint(d.GetWindowRect().left, d.GetWindowRect().top);
        smart = IsChecked(d, 105);
    });
    f.view->SendCommand(cmRepDuplicate);
    EXPECT_EQ(reopenedAt, closedAt);
    EXPECT_FALSE(smart);
    QReplObj::KeptSmart() = true;
}

// The counts and the grid spacings are whole numbers: any other text is refused at OK with a
// message naming the field's range and the dialog stays; a whole number is brought into the
// field's range as the edit is left (-5 rows become 1, a spacing of -5 becomes 0).
TEST(DuplicateDialog, CountsAndGridSpacingsThatAreNoWholeNumbersAreRefused)
{
    DialogFixture f;
    f.view->SelectObject(f.Add(bandDetail, otRectangle, 0, 0, 720, 360));
    const std::string nines(300, '9');
    struct Field {
        int edit, low, high;
        int QReplObj::*out;
    };
    const Field fields[] = {{101, 1, 100, &QReplObj::rows},
                            {102, 1, 100, &QReplObj::columns},
                            {103, 0, 31680, &QReplObj::rowSpacing},
                            {104, 0, 31680, &QReplObj::columnSpacing}};
    for (const Field& field : fields) {
        for (const std::string& text : {std::string(), std::string("-5"), std::string("0"), std::string("8.9"),
                                        std::string("1e999"), std::string("inf"), nines, std::string("abc")}) {
            SCOPED_TRACE(std::to_string(field.edit) + " \"" + text.substr(0, 10) + "\"");
            const bool refused = !(text == "-5" || text == "0");
            const std::size_t shown = f.hook.MessageTexts().size();
            std::string held;
            bool stayed = false;
            int taken = -1;
            f.hook.AnswerDialog(idQReplObj, 0, [&](TDialog& d) {
                EXPECT_TRUE(d.GetDlgItem(106)->IsWindowVisible()) << "grid steps while snapping";
                ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(field.edit), text));
                held = d.GetDlgItemText(field.edit);
                if (refused) f.hook.AnswerMessageBox(IDOK);
                EXPECT_TRUE(ClickReaches(*d.GetDlgItem(IDOK)));
                TTestHook::ProcessEvents();
                stayed = !d.HasEnded();
                if (stayed) EXPECT_TRUE(ClickReaches(*d.GetDlgItem(IDCANCEL)));
                else taken = dynamic_cast<QReplObj&>(d).*field.out;
            });
            f.view->SendCommand(cmRepDuplicate);
            EXPECT_EQ(stayed, refused);
            if (refused) {
                ASSERT_EQ(f.hook.MessageTexts().size(), shown + 1);
                EXPECT_EQ(f.hook.MessageTexts().back(), "\"" + held.substr(0, 40) + "\" is not a whole number from " +
                                                            std::to_string(field.low) + " to " +
                                                            std::to_string(field.high) + ".");
            } else {
                EXPECT_EQ(f.hook.MessageTexts().size(), shown);
                EXPECT_EQ(taken, field.low);
            }
        }
    }
    EXPECT_EQ(f.hook.UnansweredBoxes(), 0);
}

TEST(DuplicateDialog, NothingSelectedClosesLikeCancel)
{
    DialogFixture f;
    DupState seen;
    bool ended = false;
    f.hook.AnswerDialog(idQReplObj, 0, [&](TDialog& d) {
        seen = Read(d);
        d.SendCommand(IDOK);
        ended = d.HasEnded() && d.GetResult() == IDCANCEL;
    });
    // A page break alone counts as nothing to duplicate.
    f.view->SelectObject(f.Add(bandDetail, otPageBreak, 0, 0, 0, 0));
    f.view->SendCommand(cmRepDuplicate);
    EXPECT_EQ(seen.comment, " No objects to duplicate.");
    EXPECT_TRUE(seen.warning);
    EXPECT_FALSE(seen.rows || seen.columns || seen.smart);
    EXPECT_TRUE(ended);
}

// --- insert picture ---

TEST(InsertPictureDialog, ClipboardChoiceAndDrawnSize)
{
    DialogFixture f;
    Clipboard::Clear();
    ASSERT_TRUE(Clipboard::SetData(kPictureFormat, GreenRectangleWmf()));
    QRInsertPictDlg::KeptSource() = 0;
    QRInsertPictDlg::KeptSize() = 0;
    bool pasteEnabled = false, drawnEnabled = false;
    f.hook.AnswerDialog(idQRInsertPictDlg, IDOK, [&](TDialog& d) {
        pasteEnabled = d.GetDlgItem(101)->IsWindowEnabled();
        drawnEnabled = d.GetDlgItem(103)->IsWindowEnabled();
        EXPECT_TRUE(IsChecked(d, 101) && IsChecked(d, 103));
    });
    f.view->SendCommand(cmRepPicture);
    f.Drag(f.At(bandDetail, 12, 12), f.At(bandDetail, 108, 60));
    EXPECT_TRUE(pasteEnabled);
    EXPECT_TRUE(drawnEnabled);
    ASSERT_EQ(f.band(bandDetail).ObjectCount(), 1);
    EXPECT_EQ(f.band(bandDetail).ObjectAt(0)->GetType(), otPicture);
    EXPECT_EQ(f.band(bandDetail).ObjectAt(0)->TwipsRect(), TRect(180, 180, 1620, 900)) << "the drawn frame";

    // Cancel places nothing and keeps nothing of the choice.
    f.hook.AnswerDialog(idQRInsertPictDlg, IDCANCEL, [](TDialog& d) {
        Box(d, 102).Click();
        Box(d, 104).Click();
    });
    f.view->SendCommand(cmRepPicture);
    f.Drag(f.At(bandDetail, 12, 72), f.At(bandDetail, 108, 90));
    EXPECT_EQ(f.band(bandDetail).ObjectCount(), 1);
    EXPECT_EQ(QRInsertPictDlg::KeptSource(), 0);
}

TEST(InsertPictureDialog, NothingToChooseSkipsTheDialogWhenAskedTo)
{
    DialogFixture f;
    Clipboard::Clear();
    QRInsertPictDlg::KeptHide() = false;
    int source = -1, size = -1;
    bool pasteEnabled = true, drawnEnabled = true;
    f.hook.AnswerDialog(idQRInsertPictDlg, IDCANCEL, [&](TDialog& d) {
        pasteEnabled = d.GetDlgItem(101)->IsWindowEnabled();
        drawnEnabled = d.GetDlgItem(103)->IsWindowEnabled();
        source = IsChecked(d, 102);
        size = IsChecked(d, 104);
        Box(d, 105).Check();
    });
    QRInsertPictDlg first(f.view);
    first.sizeFixed = true;
    EXPECT_EQ(first.Execute(), IDCANCEL);
    EXPECT_FALSE(pasteEnabled);
    EXPECT_FALSE(drawnEnabled);
    EXPECT_EQ(source, 1);
    EXPECT_EQ(size, 1);
    EXPECT_TRUE(QRInsertPictDlg::KeptHide()) << "the hide box is kept even on Cancel";

    const std::size_t runs = f.hook.DialogsRun().size();
    QRInsertPictDlg second(f.view);
    second.sizeFixed = true;
    EXPECT_EQ(second.Execute(), IDOK);
    EXPECT_EQ(f.hook.DialogsRun().size(), runs) << "not shown";
    EXPECT_EQ(second.source, 1);
    EXPECT_EQ(second.size, 1);
    QRInsertPictDlg::KeptHide() = false;
}

// --- sample simulation ---

// The counts are whole numbers up to kMaxSamples, an empty edit none; any other text is refused
// with a message naming the range, and the dialog stays open for it to be mended.
TEST(SampleSimulationDialog, OpensWithTheCountsAndRefusesWhatIsNoCount)
{
    DialogFixture f;
    const std::string nines(300, '9');
    const std::string range = " is not a whole number from 0 to " + std::to_string(QRFakeSmpls::kMaxSamples) + ".";
    struct Case {
        std::string fixed;
        int wantFixed;  // -1: refused
    };
    const Case cases[] = {{"7", 7}, {"", 0}, {"0", 0}, {"-5", -1}, {"8.9", -1}, {"1e999", -1}, {"inf", -1},
                          {"abc", -1}, {nines, -1}, {"2000000000", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixed.substr(0, 12));
        std::string opened;
        bool stayed = false;
        f.hook.AnswerDialog(idQRFakeSmpls, 0, [&](TDialog& d) {
            opened = d.GetDlgItemText(101) + "/" + d.GetDlgItemText(102);
            EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(101), c.fixed));
            if (c.wantFixed < 0) f.hook.AnswerMessageBox(IDOK);
            EXPECT_TRUE(ClickReaches(*d.GetDlgItem(IDOK)));
            TTestHook::ProcessEvents();
            stayed = d.IsWindow() && d.IsWindowVisible();
            if (stayed) {
                EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(101), "9"));
                EXPECT_TRUE(ClickReaches(*d.GetDlgItem(IDOK)));
            }
        });
        const std::size_t shown = f.hook.MessageTexts().size();
        int fixed = 3, sequential = 45;
        GetRPRunShell().fakeSamples(fixed, sequential);
        EXPECT_EQ(opened, "3/45");
        EXPECT_EQ(stayed, c.wantFixed < 0);
        EXPECT_EQ(fixed, c.wantFixed < 0 ? 9 : c.wantFixed);
        EXPECT_EQ(sequential, 45);
        if (c.wantFixed < 0) {
            ASSERT_FALSE(f.hook.MessageTexts().empty());
            EXPECT_EQ(f.hook.MessageTexts().back(), "\"" + c.fixed.substr(0, 40) + "\"" + range);
        } else {
            EXPECT_EQ(f.hook.MessageTexts().size(), shown);
        }
    }
    EXPECT_EQ(f.hook.UnansweredBoxes(), 0);
    GetRPRunShell().fakeSamples = nullptr;
}

}  // namespace
}  // namespace vyn::test
