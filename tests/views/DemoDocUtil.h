#pragma once
// The demo plate, read and calculated, for the tests of the list and graph views; and a view
// of the same document that records what it hears.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/QDoc.h"

namespace vyn::test {

inline std::unique_ptr<QDoc> OpenDemo()
{
    auto doc = std::make_unique<QDoc>();
    doc->SetDocPath(std::string(VYN_SOURCE_DIR) + "/resources/demo/Demo.plt");
    if (!doc->InitDoc()) return nullptr;
    doc->CalculatePlate();
    return doc;
}

// Another view of the document, recording what it hears.
class Spy : public TView {
public:
    explicit Spy(QDoc& d) : TView(d) {}
    const char* GetViewName() override { return "QPView"; }
    bool VnNotify(int event, long item) override
    {
        heard.push_back({event, item});
        return true;
    }
    std::vector<long> Selections() const
    {
        std::vector<long> s;
        for (auto [e, i] : heard)
            if (e == vnSampleSelected) s.push_back(i);
        return s;
    }
    std::vector<std::pair<int, long>> heard;
};

}  // namespace vyn::test
