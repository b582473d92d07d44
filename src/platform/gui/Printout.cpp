#include "platform/gui/Printout.h"

namespace vyn {

TPrintout::TPrintout(const std::string& title) : Title(title) {}

TPrintout::~TPrintout() = default;

void TPrintout::SetPrintParams(TDC* dc, TSize pageSize)
{
    DC = dc;
    PageSize = pageSize;
}

void TPrintout::GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage)
{
    minPage = 1;
    maxPage = kUnknownPageCount;
    selFromPage = 0;
    selToPage = 0;
}

void TPrintout::BeginPrinting() {}
void TPrintout::BeginDocument(int, int, unsigned) {}
bool TPrintout::HasPage(int page) { return page == 1; }
void TPrintout::PrintPage(int, TRect&, unsigned) {}
void TPrintout::EndDocument() {}
void TPrintout::EndPrinting() {}

}  // namespace vyn
