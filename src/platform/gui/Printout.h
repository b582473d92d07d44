#pragma once
// TPrintout: one printable thing as the printer and the print preview see it. The printer (and
// later the preview) drives it in a fixed order: SetPrintParams once per device context,
// GetDialogInfo, BeginPrinting, BeginDocument, HasPage/PrintPage for each page, EndDocument,
// EndPrinting. The preview hands the same printout its own screen context by calling
// SetPrintParams with the page size (kPreviewPageSize, kPreviewPageSize), which a printout takes
// as "draw there, keep the layout measured on the printer".
#include <string>

#include "platform/core/Geometry.h"

namespace vyn {

class TDC;

// The page size by which the preview redirects the drawing of an already laid-out printout.
inline constexpr int kPreviewPageSize = -32000;
// The last page a print dialog offers when the printout does not say how many it has.
inline constexpr int kUnknownPageCount = 9999;

class TPrintout {
public:
    explicit TPrintout(const std::string& title);
    virtual ~TPrintout();
    TPrintout(const TPrintout&) = delete;
    TPrintout& operator=(const TPrintout&) = delete;

    // The framework's own part stores the context and the page size (device pixels).
    virtual void SetPrintParams(TDC* dc, TSize pageSize);
    // Page range offered by the print dialog; selFrom/selTo 0 means "all pages".
    virtual void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage);
    virtual void BeginPrinting();
    virtual void BeginDocument(int startPage, int endPage, unsigned flags);
    virtual bool HasPage(int page);
    virtual void PrintPage(int page, TRect& rect, unsigned flags);
    virtual void EndDocument();
    virtual void EndPrinting();

    const std::string& GetTitle() const { return Title; }
    void SetTitle(const std::string& title) { Title = title; }
    TDC* GetDC() const { return DC; }
    TSize GetPageSize() const { return PageSize; }

protected:
    std::string Title;
    TDC* DC = nullptr;
    TSize PageSize;
};

}  // namespace vyn
