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

// The print dialog's copies and page numbers are whole numbers of their ranges, typed as a user
// types them: any other text is refused with the program's message naming the range, the dialog
// stays with the text for the user to mend, and nothing is printed; the value is kept.
TEST(PrintDialogNumbers, CopiesAndPagesTakeWholeNumbersOfTheirRangesOnly)
{
    // A copies count taken would go to the printer; without one the job stops with its message.
    if (!TPrinter::PrinterNames().empty()) GTEST_SKIP() << "a printer is installed";
    TTestHook hook;
    TPrinter printer;
    ThreePages printout;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vyn-print-numbers-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string pdf = (dir / "pages.pdf").string();

    struct Field {
        const char* name;
        int edit, low, high;
    };
    // The copies to the printer ("Print to file" unticked), the first and the last page into a file.
    const Field fields[] = {{"copies", TPrintDialog::kCopies, 1, 999},
                            {"from page", TPrintDialog::kFrom, 1, kUnknownPageCount},
                            {"to page", TPrintDialog::kTo, 1, kUnknownPageCount}};
    const std::vector<std::string> texts = {"", "-5", "0", "8.9", "1e999", "inf", "nan", std::string(300, '9'), "abc", "2"};
    auto shownCopies = [&] {
        std::string copies;
        hook.AnswerDialog(TPrintDialog::kResId, IDCANCEL, [&](TDialog& d) {
            for (const TShownText& t : ShownTexts(Item(d, TPrintDialog::kCopies))) copies += t.text;
        });
        EXPECT_FALSE(printer.Print(nullptr, printout, true));
        return copies;
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.name);
        for (const std::string& text : texts) {
            SCOPED_TRACE("typed \"" + text.substr(0, 12) + "\"");
            std::filesystem::remove(pdf);
            const std::string copiesBefore = shownCopies();
            const std::size_t shown = hook.MessageTexts().size();
            std::string held, heldAfter;
            bool refused = true, pastLast = false, stayed = false;
            hook.AnswerDialog(TPrintDialog::kResId, 0, [&](TDialog& d) {
                const bool toFile = f.edit != TPrintDialog::kCopies;
                if ((static_cast<TCheckBox&>(Item(d, TPrintDialog::kToFile)).GetCheck() == TCheckBox::BF_CHECKED) != toFile)
                    ClickAt(ScreenPoint(Item(d, TPrintDialog::kToFile)));
                if (toFile) {
                    ASSERT_TRUE(TypeIntoField(Item(d, TPrintDialog::kFileName), pdf));
                    ClickAt(ScreenPoint(Item(d, TPrintDialog::kPages)));
                    ASSERT_TRUE(TypeIntoField(Item(d, TPrintDialog::kFrom), "1"));
                    ASSERT_TRUE(TypeIntoField(Item(d, TPrintDialog::kTo), "3"));
                }
                ASSERT_TRUE(Item(d, f.edit).IsWindowEnabled());
                ASSERT_TRUE(TypeIntoField(Item(d, f.edit), text));
                held = d.GetDlgItemText(f.edit);
                // Taken are the whole numbers of the range the field took of the text.
                const bool digits = !held.empty() && held.find_first_not_of("0123456789") == std::string::npos;
                refused = !digits || std::stol(held) < f.low || std::stol(held) > f.high;
                // A first page taken that lies past the last page typed (3) is no range.
                pastLast = !refused && f.edit == TPrintDialog::kFrom && std::stol(held) > 3;
                // A count taken goes to no printer, which the job then says.
                if (refused || pastLast || !toFile) hook.AnswerMessageBox(IDOK);
                ClickAt(ScreenPoint(Item(d, IDOK)));
                stayed = !d.HasEnded();
                heldAfter = d.GetDlgItemText(f.edit);
                if (stayed) ClickAt(ScreenPoint(Item(d, IDCANCEL)));
            });
            const bool printed = printer.Print(nullptr, printout, true);
            EXPECT_EQ(held, text.substr(0, held.size())) << "the field took the start of the text";
            EXPECT_EQ(stayed, refused || pastLast) << "the dialog stays exactly when the text is refused";
            const std::vector<std::string> messages = hook.MessageTexts();
            if (pastLast) {
                EXPECT_FALSE(printed);
                ASSERT_EQ(messages.size(), shown + 1);
                EXPECT_EQ(messages.back(), FormatResString(23853, ("1-" + std::to_string(f.high)).c_str()));
            } else if (refused) {
                EXPECT_FALSE(printed);
                EXPECT_EQ(heldAfter, held) << "the field keeps what was typed for the user to mend";
                ASSERT_EQ(messages.size(), shown + 1) << "one message for a text refused";
                EXPECT_EQ(messages.back(), "\"" + held + "\" is not a whole number from " + std::to_string(f.low) + " to " +
                                               std::to_string(f.high) + ".");
                EXPECT_FALSE(std::filesystem::exists(pdf)) << "nothing printed";
                EXPECT_EQ(shownCopies(), copiesBefore) << "the copies count is kept";
            } else if (f.edit == TPrintDialog::kCopies) {
                ASSERT_EQ(messages.size(), shown + 1);
                EXPECT_EQ(messages.back(), GetResStringStd(23854)) << "no printer to take the copies";
                EXPECT_EQ(shownCopies(), held) << "the copies count taken";
            } else {
                EXPECT_TRUE(printed);
                EXPECT_EQ(messages.size(), shown) << "no message for a page taken";
                EXPECT_TRUE(std::filesystem::exists(pdf));
            }
        }
    }
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vyn
