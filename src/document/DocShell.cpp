#include "document/DocShell.h"

#include "platform/core/StringTable.h"

namespace vyn {

namespace {

std::string gLastMessage;

// Without a window there is nobody to ask: the run goes on, every error stays beside the
// result it concerns.
class SilentStatusReport final : public IStatusReport {
public:
    void SetTitle(const std::string&) override {}
    void AddEntry(const std::string&, const std::string&) override {}
    void AddErrorDetail(const std::string&, const std::string&, const std::string&) override {}
    void AddMessage(const std::string&) override {}
    void AddBlankLine() override {}
    int Run() override { return kStatusIgnoreThis; }
};

}  // namespace

DocShell& GetDocShell()
{
    static DocShell shell;
    return shell;
}

void ShowDocMessage(int id)
{
    ShowDocText(GetResStringStd(id));
}

void ShowDocText(const std::string& text)
{
    gLastMessage = text;
    if (GetDocShell().showMessage) GetDocShell().showMessage(gLastMessage);
}

const std::string& LastDocMessage()
{
    return gLastMessage;
}

void ClearLastDocMessage()
{
    gLastMessage.clear();
}

std::unique_ptr<IStatusReport> MakeStatusReport()
{
    if (GetDocShell().makeStatusReport) {
        if (auto report = GetDocShell().makeStatusReport()) return report;
    }
    return std::make_unique<SilentStatusReport>();
}

}  // namespace vyn
