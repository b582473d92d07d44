// What a user reads of open plates and of the reports printed over them: the plates' names in
// "Select Calibration" and on paper, a report's picture in the print preview where the printed
// page has it, the run's "Status" dialog that keeps listing the errors already let pass, and the
// print dialog's pages and paper for the plate matrix, on paper and in the preview.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "../../reports/ReportFixtures.h"
#include "../../reports/WmfFixture.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/vynwApp.h"
#include "controls/QCalErrDlg.h"
#include "document/QDoc.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/PrinterDialogs.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "printing/RWPrinter.h"
#include "printing/TPgWin.h"
#include "printing/TRwPreview.h"
#include "report_designer/RPListDialogs.h"
#include "reports/CRepList.h"
#include "reports/RPReport.h"
#include "reports/RPShapes.h"

using namespace vyn;

namespace {

// The running program with plates opened by the user from copies of the demo plate.
struct PlateShell : ShellFixture {
    // Shown, as the user has it, so that its menus open.
    PlateShell() { app->GetMainFrame()->ShowWindow(SW_SHOW); }
    ~PlateShell() { SetFileDialogAnswer(nullptr); }
    QDoc* OpenCopy(const std::string& name)
    {
        const std::string path = env.data + "/" + name;
        std::filesystem::copy_file(env.data + "/Demo.plt", path, std::filesystem::copy_options::overwrite_existing);
        SetFileDialogAnswer([path](bool, const std::string&) { return path; });
        EXPECT_TRUE(ChooseMenuItem(*app->GetMainFrame(), "File", "Open...")) << name;
        TTestHook::ProcessEvents();
        return gCurrentDoc && gCurrentDoc->GetDocPath() == path ? gCurrentDoc : nullptr;
    }
    void Command(unsigned id)
    {
        EXPECT_TRUE(ChooseMenuItem(*app->GetMainFrame(), id)) << "command " << id;
        TTestHook::ProcessEvents();
    }
};

void PutInLibrary(const RPReport& r)
{
    CRepList list(ReportLibraryPath());
    list.Open(false);
    ASSERT_EQ(list.Append(r), 0);
}

// A report of one report header over the plate; the rest of the bands off.
void HeaderOnly(RPReport& r, const std::string& name)
{
    r.SetName(name);
    for (int i : {bandPageHeader, bandDetail, bandReportFooter, bandPageFooter}) r.Band(i).SetEnabled(false);
    r.Band(bandReportHeader).StoreHeight(2880);
}

// Picks the report in the plate's report dialog and lets the print dialog print.
void AnswerReportAndPrintDialogs(TTestHook& hook, const std::string& name, bool print)
{
    hook.AnswerDialog(kDlgRepPlate, IDOK, [name](TDialog& d) {
        auto& list = dynamic_cast<TListBox&>(*d.GetDlgItem(101));
        for (int i = 0; i < list.GetCount(); ++i)
            if (list.GetString(i).rfind(name, 0) == 0) list.UserSelect(i);
    });
    if (print) hook.AnswerDialog(TPrintDialog::kResId, IDOK);
}

bool HasTool(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

std::string PdfText(const std::string& pdf)
{
    const std::string txt = pdf + ".txt";
    if (std::system(("pdftotext -layout '" + pdf + "' '" + txt + "'").c_str()) != 0) return {};
    std::string text;
    if (FILE* f = std::fopen(txt.c_str(), "rb")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        std::fclose(f);
    }
    return text;
}

// Where the green of the picture lies on the page, as fractions of the page's width and height.
QRectF GreenArea(const QImage& page)
{
    int l = page.width(), t = page.height(), r = -1, b = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c(page.pixel(x, y));
            if (c.green() > 180 && c.red() < 90 && c.blue() < 90) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
        }
    if (r < 0) return {};
    const double w = page.width(), h = page.height();
    return QRectF(l / w, t / h, (r + 1 - l) / w, (b + 1 - t) / h);
}

// Where the pixels that pass a colour test lie on the page, as fractions of its size.
template <class Pick>
QRectF AreaOf(const QImage& page, Pick pick)
{
    int l = page.width(), t = page.height(), r = -1, b = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (pick(QColor(page.pixel(x, y)))) {
                l = std::min(l, x);
                r = std::max(r, x);
                t = std::min(t, y);
                b = std::max(b, y);
            }
    if (r < 0) return {};
    const double w = page.width(), h = page.height();
    return QRectF(l / w, t / h, (r + 1 - l) / w, (b + 1 - t) / h);
}

// The report's first page as printed to a PDF and rasterised.
QImage PrintedPage(PlateShell& s, TTestHook& hook, const std::string& report, const std::string& stem)
{
    const std::string pdf = s.env.root + "/" + stem + ".pdf";
    s.app->GetPrinter()->SetOutputFile(pdf);
    AnswerReportAndPrintDialogs(hook, report, true);
    s.Command(CM_REPORTPRINT);
    const std::string png = s.env.root + "/" + stem;
    if (std::system(("pdftoppm -r 60 -f 1 -l 1 -singlefile -png '" + pdf + "' '" + png + "'").c_str()) != 0) return {};
    QImage page(QString::fromStdString(png + ".png"));
    if (const char* keep = std::getenv("VYN_PAPER_PNG")) page.save(keep);
    return page;
}

// The report's first page as the print preview shows it.
QImage PreviewedPage(PlateShell& s, TTestHook& hook, const std::string& report)
{
    QImage shown;
    WhenModalWindowRuns([&](TWindow& w) {
        auto* preview = dynamic_cast<TRwPreview*>(&w);
        ASSERT_NE(preview, nullptr);
        TTestHook::ProcessEvents();
        shown = GrabPicture(preview->GetPageWindow());
        if (const char* keep = std::getenv("VYN_PREVIEW_PNG")) shown.save(keep);
        ClickGadget(preview->GetControlBar(), CM_PREVIEWCLOSE);
    });
    AnswerReportAndPrintDialogs(hook, report, false);
    s.Command(CM_REPORTPREVIEW);
    return shown;
}

}  // namespace

TEST(PlatesOnScreenAndPaper, SelectCalibrationNamesThePlatesOpenedFromFiles)
{
    TTestHook hook;
    PlateShell s;
    for (const char* name : {"First.plt", "Second.plt", "Third.plt"}) {
        QDoc* doc = s.OpenCopy(name);
        ASSERT_NE(doc, nullptr) << name;
        if (vynwApp::NeedsCalculation(*doc)) doc->CalculatePlate();
        ASSERT_EQ(doc->GetPlate().calibr.state, 1) << name << ": a valid calibration";
    }
    // On the third plate: "Load" in the calibration dialog offers the two others by name.
    std::vector<std::string> rows;
    hook.AnswerDialog(898, IDCANCEL, [&rows](TDialog& d) {
        auto& list = dynamic_cast<TListBox&>(*d.GetDlgItem(101));
        EXPECT_TRUE(list.IsWindowVisible());
        for (int i = 0; i < list.GetCount(); ++i) rows.push_back(list.GetString(i));
    });
    hook.AnswerDialog(899, IDCANCEL, [](TDialog& d) { TTestHook::Click(*d.GetDlgItem(415)); });
    s.Command(CM_CALIBRATION);
    EXPECT_EQ(rows, (std::vector<std::string>{"First.plt", "Second.plt"}));
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

TEST(PlatesOnScreenAndPaper, APrintedReportNamesItsPlateByItsFile)
{
    if (!HasTool("pdftotext")) GTEST_SKIP() << "pdftotext is not installed";
    TTestHook hook;
    PlateShell s;
    RPReport r;
    HeaderOnly(r, "Named");
    test::Add<RPObjectTextBox>(r, bandReportHeader, 0, 0, 6000, 400)->StoreContents("=\"Plate \" + filename");
    PutInLibrary(r);
    ASSERT_NE(s.OpenCopy("Kept as this.plt"), nullptr);
    const std::string pdf = s.env.root + "/named.pdf";
    s.app->GetPrinter()->SetOutputFile(pdf);
    AnswerReportAndPrintDialogs(hook, "Named", true);
    s.Command(CM_REPORTPRINT);
    EXPECT_NE(PdfText(pdf).find("Plate Kept as this.plt"), std::string::npos) << PdfText(pdf);
}

TEST(PlatesOnScreenAndPaper, ThePreviewShowsAReportsPictureWhereThePrintedPageHasIt)
{
    if (!HasTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    TTestHook hook;
    PlateShell s;
    RPReport r;
    HeaderOnly(r, "Pictured");
    auto* pic = test::Add<RPObjectPicture>(r, bandReportHeader, 1440, 720, 2880, 1440);
    ASSERT_EQ(pic->LoadFromFileBytes(test::GreenRectangleWmf()), 0);
    PutInLibrary(r);
    ASSERT_NE(s.OpenCopy("Pictured.plt"), nullptr);

    const std::string pdf = s.env.root + "/pictured.pdf";
    s.app->GetPrinter()->SetOutputFile(pdf);
    AnswerReportAndPrintDialogs(hook, "Pictured", true);
    s.Command(CM_REPORTPRINT);
    const std::string png = s.env.root + "/pictured";
    ASSERT_EQ(std::system(("pdftoppm -r 40 -singlefile -png '" + pdf + "' '" + png + "'").c_str()), 0);
    QImage paper(QString::fromStdString(png + ".png"));
    ASSERT_FALSE(paper.isNull());
    const QRectF printed = GreenArea(paper);
    ASSERT_FALSE(printed.isEmpty()) << "the picture is on paper";

    QRectF previewed;
    bool shown = false;
    WhenModalWindowRuns([&](TWindow& w) {
        auto* preview = dynamic_cast<TRwPreview*>(&w);
        ASSERT_NE(preview, nullptr);
        TTestHook::ProcessEvents();
        const QImage page = GrabPicture(preview->GetPageWindow());
        shown = !page.isNull();
        previewed = GreenArea(page);
        if (const char* keep = std::getenv("VYN_PREVIEW_PNG")) page.save(keep);
        ClickGadget(preview->GetControlBar(), CM_PREVIEWCLOSE);
    });
    AnswerReportAndPrintDialogs(hook, "Pictured", false);
    s.Command(CM_REPORTPREVIEW);
    ASSERT_TRUE(shown) << "the preview ran";
    ASSERT_FALSE(previewed.isEmpty()) << "the picture is in the preview";
    // One pixel of either picture is at most 2.5 % of the page.
    const double tol = 0.025;
    EXPECT_NEAR(previewed.left(), printed.left(), tol);
    EXPECT_NEAR(previewed.top(), printed.top(), tol);
    EXPECT_NEAR(previewed.width(), printed.width(), tol);
    EXPECT_NEAR(previewed.height(), printed.height(), tol);
}

TEST(PlatesOnScreenAndPaper, TheStatusDialogOfAReportRunKeepsTheErrorsAlreadyShown)
{
    TTestHook hook;
    PlateShell s;
    RPReport r;
    HeaderOnly(r, "Faulty");
    const std::vector<std::string> unknown{"firstunknown", "secondunknown", "thirdunknown", "fourthunknown"};
    for (std::size_t i = 0; i < unknown.size(); ++i)
        test::Add<RPObjectTextBox>(r, bandReportHeader, 0, 500 * static_cast<int>(i), 3000, 400)
            ->StoreContents("=" + unknown[i]);
    PutInLibrary(r);
    ASSERT_NE(s.OpenCopy("Faulty.plt"), nullptr);
    s.app->GetPrinter()->SetOutputFile(s.env.root + "/faulty.pdf");
    std::vector<std::string> held, lastShownLine;
    auto read = [&](TDialog& d) {
        held.push_back(d.GetDlgItemText(101));
        // The list as the user sees it: its last visible line shows the error just met.
        const std::vector<std::string> lines = ShownLines(d.GetDlgItem(101)->Widget());
        std::string last;
        for (const std::string& l : lines)
            if (l.find("unknown") != std::string::npos) last = l;
        lastShownLine.push_back(last);
    };
    for (std::size_t i = 0; i < unknown.size(); ++i) hook.AnswerDialog(QCalErrDlg::kResId, 102, read);
    AnswerReportAndPrintDialogs(hook, "Faulty", true);
    s.Command(CM_REPORTPRINT);
    ASSERT_EQ(held.size(), unknown.size()) << "one dialog for each error";
    EXPECT_EQ(held[0].find("secondunknown"), std::string::npos) << held[0];
    for (std::size_t i = 0; i < unknown.size(); ++i) {
        for (std::size_t k = 0; k <= i; ++k)
            EXPECT_NE(held[i].find(unknown[k]), std::string::npos) << "dialog " << i + 1 << " still lists " << unknown[k];
        EXPECT_NE(lastShownLine[i].find(unknown[i]), std::string::npos)
            << "dialog " << i + 1 << " shows its newest error; the last line shown: " << lastShownLine[i];
    }
}

// A report of text, a picture, a graph too small for its labels and a large graph: the preview
// shows each where, and as, the printed page has it. The small graph is the one that told them
// apart: the preview measured its labels narrower than the printer and drew a squeezed graph
// where the paper shows "***".
TEST(PlatesOnScreenAndPaper, ThePreviewOfAReportWithGraphsIsThePrintedPage)
{
    if (!HasTool("pdftoppm") || !HasTool("pdftotext")) GTEST_SKIP() << "poppler's tools are not installed";
    TTestHook hook;
    PlateShell s;
    RPReport r;
    HeaderOnly(r, "Graphs");
    r.Band(bandReportHeader).StoreHeight(5760);
    test::Add<RPObjectTextBox>(r, bandReportHeader, 0, 0, 4320, 400)->StoreContents("Preview and paper");
    auto* pic = test::Add<RPObjectPicture>(r, bandReportHeader, 5760, 0, 1440, 720);
    ASSERT_EQ(pic->LoadFromFileBytes(test::GreenRectangleWmf()), 0);
    // Curves and points in colours of their own (COLORREF: blue in the high byte).
    auto* small = test::Add<RPObjectGraph>(r, bandReportHeader, 0, 1440, 1225, 1225);
    small->SetRGBCurve(0xFF0000);
    small->SetRGBPoint(0xFF0000);
    auto* large = test::Add<RPObjectGraph>(r, bandReportHeader, 2880, 1440, 4320, 2880);
    large->SetRGBCurve(0xFF00FF);
    large->SetRGBPoint(0xFF00FF);
    PutInLibrary(r);
    ASSERT_NE(s.OpenCopy("Graphs.plt"), nullptr);

    const QImage paper = PrintedPage(s, hook, "Graphs", "graphs");
    ASSERT_FALSE(paper.isNull());
    EXPECT_NE(PdfText(s.env.root + "/graphs.pdf").find("***"), std::string::npos) << "the small graph's box on paper, " << s.env.root;
    const QImage preview = PreviewedPage(s, hook, "Graphs");
    ASSERT_FALSE(preview.isNull()) << "the preview ran";

    auto green = [](const QColor& c) { return c.green() > 180 && c.red() < 90 && c.blue() < 90; };
    auto blue = [](const QColor& c) { return c.blue() > 180 && c.red() < 90 && c.green() < 90; };
    // Not red: the preview draws the margins in red.
    auto magenta = [](const QColor& c) { return c.red() > 180 && c.green() < 90 && c.blue() > 180; };
    auto ink = [](const QColor& c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; };
    const struct {
        const char* what;
        std::function<bool(const QColor&)> pick;
    } parts[] = {{"the picture", green}, {"the small graph's curve", blue}, {"the large graph's curve", magenta},
                 {"the black of text, axes and labels", ink}};
    // One pixel of the preview is up to 1.5 % of the page.
    const double tol = 0.02;
    for (const auto& part : parts) {
        const QRectF printed = AreaOf(paper, part.pick), previewed = AreaOf(preview, part.pick);
        EXPECT_EQ(previewed.isEmpty(), printed.isEmpty()) << part.what << " on one of them only";
        if (printed.isEmpty() || previewed.isEmpty()) continue;
        EXPECT_NEAR(previewed.left(), printed.left(), tol) << part.what;
        EXPECT_NEAR(previewed.top(), printed.top(), tol) << part.what;
        EXPECT_NEAR(previewed.right(), printed.right(), tol) << part.what;
        EXPECT_NEAR(previewed.bottom(), printed.bottom(), tol) << part.what;
    }
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

// File > Print of the plate matrix: the dialog offers the printout's own pages and refuses a
// range past them, and on turned paper the plate is laid out across the wide page, printed and
// previewed.
TEST(PlatesOnScreenAndPaper, ThePrintDialogKnowsThePlatesPagesAndTurnsThePaper)
{
    if (!HasTool("pdftotext") || !HasTool("pdfinfo")) GTEST_SKIP() << "pdftotext and pdfinfo are not installed";
    TTestHook hook;
    PlateShell s;
    ASSERT_NE(s.OpenCopy("Printed.plt"), nullptr);
    const std::string pdf = s.env.root + "/printed.pdf";
    std::string offeredTo, refused;
    hook.AnswerMessageBox(IDOK);
    hook.AnswerDialog(TPrintDialog::kResId, IDOK, [&](TDialog& d) {
        auto item = [&d](int id) -> TWindow& { return *d.GetDlgItem(id); };
        for (const TShownText& t : ShownTexts(item(TPrintDialog::kTo))) offeredTo += t.text;
        if (static_cast<TCheckBox&>(item(TPrintDialog::kToFile)).GetCheck() != TCheckBox::BF_CHECKED)
            ClickAt(ScreenPoint(item(TPrintDialog::kToFile)));
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kFileName), pdf));
        ClickAt(ScreenPoint(item(TPrintDialog::kPages)));
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kFrom), "50"));
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kTo), "60"));
        ClickAt(ScreenPoint(item(IDOK)));
        ASSERT_FALSE(d.HasEnded()) << "pages the plate does not have";
        refused = hook.MessageTexts().empty() ? "" : hook.MessageTexts().back();
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kFrom), "1"));
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kTo), "1"));
        ASSERT_NE(d.GetDlgItem(TPrintDialog::kLandscape), nullptr) << "the paper can be turned";
        ClickAt(ScreenPoint(item(TPrintDialog::kLandscape)));
    });
    s.Command(CM_PRINT);
    ASSERT_FALSE(offeredTo.empty());
    EXPECT_LT(std::atoi(offeredTo.c_str()), 50) << "the plate's last page, not a number of no printout";
    EXPECT_EQ(refused, "\"50\" is not a whole number from 1 to " + offeredTo + ".");
    EXPECT_EQ(hook.MessageTexts().size(), 1u);

    FILE* info = ::popen(("pdfinfo '" + pdf + "'").c_str(), "r");
    ASSERT_NE(info, nullptr);
    char line[256];
    double w = 0, h = 0;
    int pages = 0;
    while (std::fgets(line, sizeof line, info)) {
        std::sscanf(line, "Pages: %d", &pages);
        std::sscanf(line, "Page size: %lf x %lf", &w, &h);
    }
    ::pclose(info);
    EXPECT_EQ(pages, 1);
    EXPECT_GT(w, h) << "turned paper";
    // The header's "page 1/n" stands at the right margin of the wide page, not of an upright one.
    const std::string bbox = pdf + ".html";
    ASSERT_EQ(std::system(("pdftotext -bbox '" + pdf + "' '" + bbox + "'").c_str()), 0);
    std::ifstream in(bbox);
    std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t word = html.find(">1/" + offeredTo + "<");
    ASSERT_NE(word, std::string::npos) << html;
    const std::size_t xMax = html.rfind("xMax=\"", word);
    ASSERT_NE(xMax, std::string::npos);
    EXPECT_GT(std::atof(html.c_str() + xMax + 6), 0.8 * w) << html.substr(xMax, 40);

    // The preview lays the page out on the same turned paper.
    QSize shown;
    WhenModalWindowRuns([&shown](TWindow& win) {
        auto* preview = dynamic_cast<TRwPreview*>(&win);
        ASSERT_NE(preview, nullptr);
        TTestHook::ProcessEvents();
        shown = GrabPicture(preview->GetPageWindow()).size();
        ClickGadget(preview->GetControlBar(), CM_PREVIEWCLOSE);
    });
    s.Command(CM_PREVIEW);
    ASSERT_FALSE(shown.isEmpty()) << "the preview ran";
    EXPECT_GT(shown.width(), shown.height());
}

// File > Report print: the dialog offers the report's own last page and refuses a range past it,
// and the pages offered are the pages printed. On paper turned in the dialog the report is laid
// out again for the wide page rather than printed in the upright page's layout.
TEST(PlatesOnScreenAndPaper, TheReportPrintDialogKnowsTheReportsPages)
{
    if (!HasTool("pdfinfo")) GTEST_SKIP() << "pdfinfo is not installed";
    TTestHook hook;
    PlateShell s;
    // Four inches for each sample: two on an upright page, one on a turned one.
    RPReport r;
    r.SetName("Samples");
    for (int i : {bandPageHeader, bandReportHeader, bandReportFooter, bandPageFooter}) r.Band(i).SetEnabled(false);
    r.Band(bandDetail).StoreHeight(5760);
    test::Add<RPObjectTextBox>(r, bandDetail, 0, 0, 4320, 400)->StoreContents("Sample");
    PutInLibrary(r);
    ASSERT_NE(s.OpenCopy("Reported.plt"), nullptr);
    auto pdfInfo = [](const std::string& pdf, double& w, double& h) {
        FILE* info = ::popen(("pdfinfo '" + pdf + "'").c_str(), "r");
        int pages = 0;
        if (!info) return pages;
        char line[256];
        while (std::fgets(line, sizeof line, info)) {
            std::sscanf(line, "Pages: %d", &pages);
            std::sscanf(line, "Page size: %lf x %lf", &w, &h);
        }
        ::pclose(info);
        return pages;
    };

    const std::string pdf = s.env.root + "/reported.pdf";
    std::string offeredTo, refused;
    hook.AnswerMessageBox(IDOK);
    AnswerReportAndPrintDialogs(hook, "Samples", false);
    hook.AnswerDialog(TPrintDialog::kResId, IDOK, [&](TDialog& d) {
        auto item = [&d](int id) -> TWindow& { return *d.GetDlgItem(id); };
        for (const TShownText& t : ShownTexts(item(TPrintDialog::kTo))) offeredTo += t.text;
        if (static_cast<TCheckBox&>(item(TPrintDialog::kToFile)).GetCheck() != TCheckBox::BF_CHECKED)
            ClickAt(ScreenPoint(item(TPrintDialog::kToFile)));
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kFileName), pdf));
        ClickAt(ScreenPoint(item(TPrintDialog::kPages)));
        const std::string past = std::to_string(std::atoi(offeredTo.c_str()) + 1);
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kFrom), past));
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kTo), past));
        ClickAt(ScreenPoint(item(IDOK)));
        ASSERT_FALSE(d.HasEnded()) << "a page the report does not have";
        refused = hook.MessageTexts().empty() ? "" : hook.MessageTexts().back();
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kFrom), "1"));
        ASSERT_TRUE(TypeIntoField(item(TPrintDialog::kTo), offeredTo));
        ClickAt(ScreenPoint(item(IDOK)));
    });
    s.Command(CM_REPORTPRINT);
    const int offered = std::atoi(offeredTo.c_str());
    EXPECT_GT(offered, 1);
    EXPECT_LT(offered, 100) << "the report's last page, not a number of no printout";
    EXPECT_EQ(refused, "\"" + std::to_string(offered + 1) + "\" is not a whole number from 1 to " + offeredTo + ".");
    EXPECT_EQ(hook.MessageTexts().size(), 1u);
    double w = 0, h = 0;
    EXPECT_EQ(pdfInfo(pdf, w, h), offered) << "every page offered is printed";

    // The paper turned in the dialog: the wide page holds fewer samples, so there are more pages.
    std::remove(pdf.c_str());
    AnswerReportAndPrintDialogs(hook, "Samples", false);
    hook.AnswerDialog(TPrintDialog::kResId, IDOK, [&](TDialog& d) {
        ASSERT_NE(d.GetDlgItem(TPrintDialog::kLandscape), nullptr);
        ClickAt(ScreenPoint(*d.GetDlgItem(TPrintDialog::kLandscape)));
        ClickAt(ScreenPoint(*d.GetDlgItem(IDOK)));
    });
    s.Command(CM_REPORTPRINT);
    EXPECT_GT(pdfInfo(pdf, w, h), offered);
    EXPECT_GT(w, h) << "turned paper";
    EXPECT_EQ(hook.MessageTexts().size(), 1u);
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}
