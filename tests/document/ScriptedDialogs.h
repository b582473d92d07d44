#pragma once
// The document's dialogs played by a test: each dialog runs the script the test gave it
// (editing the copy it is handed) and answers OK, or Cancel when the test says so. A dialog
// without a script cancels. Every dialog that ran is recorded by name.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "QDocTestUtil.h"
#include "document/DocDialogs.h"

namespace vyn::test {

class ScriptedDialogs : public IDocDialogs {
public:
    // Each returns whether the user confirms.
    std::function<bool(MethodWizardData&)> wizard;
    std::function<bool(MethodSheetData&)> sheet;
    std::function<bool(SampleDefinitionData&)> sampleDefinition;
    std::function<bool(CalibrationDialogData&)> calibration;
    std::function<bool(QDescList&, int)> sampleNames;
    std::function<bool(std::string&, std::string&)> nameInfo;
    std::function<bool(PresentationData&)> presentation;
    std::function<bool(FileDialogData&)> file;

    std::vector<std::string> ran;
    std::vector<FileDialogData> fileDialogs;   // as each file dialog was opened
    std::vector<ShownReport> reports;          // the info reports as shown
    std::vector<QDoc*> closed;

    int RunMethodWizard(MethodWizardData& d) override { return Answer("wizard", wizard, d); }
    int RunMethodSheet(MethodSheetData& d) override { return Answer("sheet", sheet, d); }
    int RunSampleDefinition(SampleDefinitionData& d) override { return Answer("sample", sampleDefinition, d); }
    int RunCalibration(CalibrationDialogData& d) override { return Answer("calibration", calibration, d); }
    int RunSampleNames(QDescList& descs, int startKind) override
    {
        ran.push_back("names");
        return sampleNames && sampleNames(descs, startKind) ? 1 : 2;
    }
    int RunNameInfo(std::string& name, std::string& comment) override
    {
        ran.push_back("info");
        return nameInfo && nameInfo(name, comment) ? 1 : 2;
    }
    int RunPresentation(PresentationData& d) override { return Answer("presentation", presentation, d); }
    bool RunFileDialog(FileDialogData& d) override
    {
        ran.push_back("file");
        fileDialogs.push_back(d);
        return file && file(d);
    }
    std::unique_ptr<IStatusReport> MakeInfoReport() override
    {
        ran.push_back("report");
        return std::make_unique<Recorder>(*this);
    }
    void CloseAndDeleteDoc(QDoc& doc) override { closed.push_back(&doc); }

    // A file dialog that picks path.
    void Pick(const std::string& path, int filterIndex = 1)
    {
        file = [path, filterIndex](FileDialogData& d) {
            d.path = path;
            d.filterIndex = filterIndex;
            return true;
        };
    }

private:
    template <class Data>
    int Answer(const char* name, const std::function<bool(Data&)>& script, Data& d)
    {
        ran.push_back(name);
        return script && script(d) ? 1 : 2;
    }

    class Recorder : public ScriptedReport {
    public:
        explicit Recorder(ScriptedDialogs& owner) : owner_(owner) {}
        int Run() override
        {
            ScriptedReport::Run();
            owner_.reports.push_back(shown.back());
            return kStatusIgnoreThis;
        }

    private:
        ScriptedDialogs& owner_;
    };
};

}  // namespace vyn::test
