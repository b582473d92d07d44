#pragma once
// APrintOut: the base of every printout of the program. Text is laid out on a grid of lines
// with a column cursor, measured in units of the print font; the printout loads its kind's
// margins and font before a job and writes the margins back after it, draws the page furniture,
// and paginates by running the same output code with a range of visible lines (lastLine -1:
// nothing is drawn, but lines and the cursor advance exactly as when printing).
//
// The layout is always measured on the printer context `DC`; drawing goes to `outDC`, which
// the print preview points at its page window.
#include <optional>
#include <string>
#include <string_view>

#include "platform/gui/Gdi.h"
#include "platform/gui/Printout.h"
#include "printing/PageFurniture.h"

namespace vyn {

class APrintOut : public TPrintout {
public:
    // No upper limit of the visible line range.
    static constexpr int kAllLines = 32767;
    // The characters after which PrintWrapped may break a line (the blank among them).
    static constexpr std::string_view kBreakChars = " +-*/=?:<>,.()[]{}%$;@!";

    APrintOut();
    ~APrintOut() override;

    void SetPrintParams(TDC* dc, TSize pageSize) override;
    void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) override;
    void BeginPrinting() override;
    bool HasPage(int page) override;
    void EndPrinting() override;

    // The owner copies its kind's margins and font in, and the margins back out.
    virtual void LoadMargins() = 0;
    virtual void StoreMargins() = 0;
    virtual void LoadFont() = 0;
    virtual void NewLine();
    // The owner fills the header record.
    virtual void PrepareHeader() {}
    // Each kind lays out its pages and sets pageCount.
    virtual void Paginate() {}

    // --- layout and output ---
    void Rewind();
    void SetPageLines(int first, int last);
    // The tab q quarter characters from the left margin; the cursor goes there at once when
    // the line holds no text yet, or with moveNow when it stands left of it.
    void TabTo(int q, int moveNow = 0);
    void TabToDevice(int dx, int moveNow = 0);
    int RemainingWidth() const;
    // Measures n characters of text on DC, draws them when the line is visible, advances.
    void OutText(std::string_view text, int n);
    void OutText(std::string_view text) { OutText(text, static_cast<int>(text.size())); }
    // n -1: the whole text, else its first n characters.
    // Each line break ends the line.
    void PrintF(std::string_view text, int n = -1);
    void PrintLines(std::string_view text, int n = -1) { PrintF(text, n); }
    // Wrapped at the break characters; a word wider than a line is split.
    void PrintWrapped(std::string_view text, int n = -1);
    // Pieces kept whole, on a new line when they do not fit; line breaks become two blanks.
    void PrintText(std::string_view text, int n = -1);
    // The page clip on the printer context, none elsewhere.
    void SelectClip(TDC& dc);

    // The font of the page selected into outDC for drawing a page, and taken out again.
    void SelectPrintFont();
    void DeselectPrintFont();
    // The page clip to hand to the furniture: the region on the printer context, else none.
    const TRegion* PageClip() const;

    // --- fields ---
    int firstLine = 0;
    int lastLine = 0;
    int line = 0;
    int lineHasText = 0;
    int x = 0;
    int tabX = 0;
    std::optional<TFont> font;
    std::optional<TRegion> clipRegion;
    TDC* outDC = nullptr;
    TRect pageRect;
    int dpiX = 180;
    int dpiY = 180;
    std::string dateText;  // at most 20 characters
    int infoHeight = 0;
    int headerHeight = 0;
    int footerHeight = 0;
    int lineHeight = 0;
    int textTop = 0;
    int pageCount = 0;
    PrintHeaderInfo header;

private:
    // Runs one writer over each line of the text; atEnd tells whether a line break followed.
    template <class F>
    void ForEachLine(std::string_view text, int n, F&& perLine);
    int Measure(const std::u32string& s) const;
    void Out(const std::u32string& s);
    std::optional<TFont> outFontBefore_;
};

}  // namespace vyn
