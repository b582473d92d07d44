// Printing into a PDF file as the user fills the print dialog: a range past the printout's last
// page writes nothing and says so, a file that is there is replaced only when the user says yes,
// the paper can be turned, and copies are no choice for a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <string>

#include "platform/core/StringTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/Printer.h"
#include "platform/gui/PrinterDialogs.h"
#include "platform/gui/Printout.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {
namespace {

// Three pages, each with its number; like many printouts it does not tell the dialog its count.
class ThreePages : public TPrintout {
public:
    ThreePages() : TPrintout("Three") {}
    bool HasPage(int page) override { return page >= 1 && page <= 3; }
    void PrintPage(int page, TRect&, unsigned) override { DC->TextOut(200, 200, "page " + std::to_string(page)); }
};

std::string CommandOutput(const std::string& command)
{
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

std::string PrintedFileText(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

bool HasPdfTools() { return std::system("command -v pdfinfo >/dev/null 2>&1 && command -v pdftotext >/dev/null 2>&1") == 0; }

// "Pages: 3" and the page size line of pdfinfo.
std::string PdfInfo(const std::string& pdf, const char* field)
{
    const std::string info = CommandOutput("pdfinfo '" + pdf + "'");
    const std::size_t at = info.find(field);
    if (at == std::string::npos) return {};
    std::size_t from = info.find_first_not_of(' ', at + std::strlen(field));
    return info.substr(from, info.find('\n', from) - from);
}

TWindow& Item(TDialog& d, int id) { return *d.GetDlgItem(id); }

// What a user does in the print dialog to print into the file: "Print to file" ticked when it is
// not, the name typed over the one offered, and "Pages" with a range when one is given.
void AskForFile(TDialog& d, const std::string& file, int from = 0, int to = 0)
{
    if (static_cast<TCheckBox&>(Item(d, TPrintDialog::kToFile)).GetCheck() != TCheckBox::BF_CHECKED)
        ClickAt(ScreenPoint(Item(d, TPrintDialog::kToFile)));
    ASSERT_TRUE(TypeIntoField(Item(d, TPrintDialog::kFileName), file));
    if (from > 0) {
        ClickAt(ScreenPoint(Item(d, TPrintDialog::kPages)));
        ASSERT_TRUE(TypeIntoField(Item(d, TPrintDialog::kFrom), std::to_string(from)));
        ASSERT_TRUE(TypeIntoField(Item(d, TPrintDialog::kTo), std::to_string(to)));
    }
}

void PressOk(TDialog& d) { ClickAt(ScreenPoint(Item(d, IDOK))); }

class PrintToFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasPdfTools()) GTEST_SKIP() << "pdfinfo and pdftotext are not installed";
        dir = std::filesystem::temp_directory_path() / ("vyn-print-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string Path(const char* name) const { return (dir / name).string(); }

    TTestHook hook;
    std::filesystem::path dir;
    TPrinter printer;
    ThreePages printout;
};

TEST_F(PrintToFile, ARangePastTheLastPageWritesNothingAndSaysSo)
{
    const std::string pdf = Path("range.pdf");
    const std::string old = "the user's own file";
    { std::ofstream(pdf) << old; }
    hook.AnswerMessageBox(IDYES);  // replace it
    hook.AnswerMessageBox(IDOK);
    hook.AnswerDialog(TPrintDialog::kResId, IDOK, [&](TDialog& d) { AskForFile(d, pdf, 5, 6); });
    EXPECT_FALSE(printer.Print(nullptr, printout, true));
    EXPECT_EQ(printer.GetLastJobError(), peNoPage);
    ASSERT_EQ(hook.MessageTexts().size(), 2u);
    EXPECT_EQ(hook.MessageTexts()[1], FormatResString(23857, pdf.c_str()));
    EXPECT_EQ(PrintedFileText(pdf), old) << "no blank page in place of the user's file";

    // The pages that are there print.
    const std::string good = Path("good.pdf");
    hook.AnswerDialog(TPrintDialog::kResId, IDOK, [&](TDialog& d) { AskForFile(d, good, 2, 9); });
    EXPECT_TRUE(printer.Print(nullptr, printout, true));
    EXPECT_EQ(PdfInfo(good, "Pages:"), "2");
    const std::string text = CommandOutput("pdftotext '" + good + "' -");
    EXPECT_NE(text.find("page 2"), std::string::npos) << text;
    EXPECT_NE(text.find("page 3"), std::string::npos) << text;
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}

TEST_F(PrintToFile, AFileThatIsThereIsReplacedOnlyWhenTheUserSaysYes)
{
    const std::string pdf = Path("kept.pdf");
    const std::string old = "the user's own file";
    { std::ofstream(pdf) << old; }

    // No: the dialog stays, with the name to change; Cancel then prints nothing.
    hook.AnswerMessageBox(IDNO);
    bool stayed = false;
    hook.AnswerDialog(TPrintDialog::kResId, IDCANCEL, [&](TDialog& d) {
        AskForFile(d, pdf);
        PressOk(d);
        stayed = !d.HasEnded();
    });
    EXPECT_FALSE(printer.Print(nullptr, printout, true));
    EXPECT_TRUE(stayed);
    ASSERT_EQ(hook.MessageTexts().size(), 1u);
    EXPECT_EQ(hook.MessageTexts()[0], FormatResString(23858, pdf.c_str()));
    EXPECT_EQ(PrintedFileText(pdf), old);

    // The dialog offers the last name again; Yes replaces the file.
    hook.AnswerMessageBox(IDYES);
    std::string offered;
    hook.AnswerDialog(TPrintDialog::kResId, IDOK, [&](TDialog& d) {
        for (const TShownText& t : ShownTexts(Item(d, TPrintDialog::kFileName))) offered += t.text;
    });
    printer.SetOutputFile(pdf);
    EXPECT_TRUE(printer.Print(nullptr, printout, true));
    EXPECT_EQ(offered, pdf);
    ASSERT_EQ(hook.MessageTexts().size(), 2u);
    EXPECT_EQ(PdfInfo(pdf, "Pages:"), "3");

    // A new name asks nothing.
    hook.AnswerDialog(TPrintDialog::kResId, IDOK, [&](TDialog& d) { AskForFile(d, Path("new.pdf")); });
    EXPECT_TRUE(printer.Print(nullptr, printout, true));
    EXPECT_EQ(hook.MessageTexts().size(), 2u);
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}

TEST_F(PrintToFile, LandscapePaperAndNoCopiesForAFile)
{
    const std::string pdf = Path("turned.pdf");
    bool copiesOpen = true;
    hook.AnswerDialog(TPrintDialog::kResId, IDOK, [&](TDialog& d) {
        AskForFile(d, pdf);
        copiesOpen = Item(d, TPrintDialog::kCopies).IsWindowEnabled();
        ClickAt(ScreenPoint(Item(d, TPrintDialog::kLandscape)));
    });
    ASSERT_TRUE(printer.Print(nullptr, printout, true));
    EXPECT_FALSE(copiesOpen) << "copies are greyed for a file";
    EXPECT_EQ(PdfInfo(pdf, "Pages:"), "3") << "one copy of each page";
    const std::string size = PdfInfo(pdf, "Page size:");
    double w = 0, h = 0;
    ASSERT_EQ(std::sscanf(size.c_str(), "%lf x %lf", &w, &h), 2) << size;
    EXPECT_GT(w, h) << size;
    EXPECT_NEAR(w, 841.9, 1.0) << "A4 turned";

    // The measuring context of the next layout is turned as well; the dialog shows the choice again.
    const TSize page = printer.PageSize();
    EXPECT_GT(page.cx, page.cy);
    bool landscapeShown = false;
    hook.AnswerDialog(TPrintDialog::kResId, IDCANCEL, [&](TDialog& d) {
        landscapeShown = static_cast<TRadioButton&>(Item(d, TPrintDialog::kLandscape)).GetCheck() == TCheckBox::BF_CHECKED;
    });
    EXPECT_FALSE(printer.Print(nullptr, printout, true));
    EXPECT_TRUE(landscapeShown);
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}

}  // namespace
}  // namespace vyn
