// The plate document's life and its views: construction, the view queries and the
// notifications the views ask the document to send.
#include "document/QDoc.h"

#include "document/MethodSummary.h"

namespace vyn {

QDoc::QDoc(TDocument* parent) : TDocument(parent) {}

// The views go first: closing one view activates the next, which reads the plate, and the
// plate is a member that would otherwise be gone before the base class deletes the views.
QDoc::~QDoc() { DestroyViews(); }

void QDoc::Notify(int event, long item)
{
    NotifyViews(event, item);
}

void QDoc::RetireSample(std::unique_ptr<QSample> sample)
{
    if (sample) fRetired.push_back(std::move(sample));
}

int QDoc::CountDataViews()
{
    int count = 0;
    for (TView* v = NextView(nullptr); v; v = NextView(v)) {
        const char* name = v->GetViewName();
        if (name && name[0] && (name[1] == 'P' || name[1] == 'L' || name[1] == 'S')) ++count;
    }
    return count;
}

void QDoc::CloseSampleGraphViews()
{
    for (;;) {
        TView* graph = nullptr;
        for (TView* v = NextView(nullptr); v; v = NextView(v)) {
            const char* name = v->GetViewName();
            if (name && name[0] && name[1] == 'N') {
                graph = v;
                break;
            }
        }
        if (!graph) return;
        // The last view of an auto-delete document takes the document with it: nothing of
        // this document may be touched after that.
        const bool last = GetViewCount() == 1;
        delete graph;
        if (last) return;
    }
}

bool QDoc::NotifySampleSelected(int index)
{
    return NotifyViews(vnSampleSelected, index);
}

bool QDoc::NotifySampleFocused(int index)
{
    return NotifyViews(vnSampleFocused, index);
}

void QDoc::PrintBody(ILinePrinter& printer)
{
    WriteMethodSummary(fPlate, printer);
}

}  // namespace vyn
