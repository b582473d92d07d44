#include "app/ShellDocDialogs.h"

#include "app/QDlgNameInfo.h"

#include "app/QDefPres.h"
#include "app/QDlgDesc.h"
#include "app/QSmpDlg.h"
#include "controls/QCalErrDlg.h"
#include "app/vynwApp.h"
#include "document/QDoc.h"
#include "platform/gui/FileDialog.h"

namespace vyn {

namespace {

// The "Status" dialog with its one "Close" button.
class InfoReport final : public IStatusReport {
public:
    explicit InfoReport(TWindow* parent) : dlg_(parent, true) {}
    void SetTitle(const std::string& t) override { dlg_.SetTitle(t); }
    void AddEntry(const std::string& n, const std::string& t) override { dlg_.AddEntry(n, t); }
    void AddErrorDetail(const std::string& n, const std::string& t, const std::string& d) override
    {
        dlg_.AddErrorDetail(n, t, d);
    }
    void AddMessage(const std::string& t) override { dlg_.AddMessage(t); }
    void AddBlankLine() override { dlg_.AddBlankLine(); }
    int Run() override { return dlg_.Execute(); }

private:
    QCalErrDlg dlg_;
};

}  // namespace

// The method editors and the calibration dialogs come with their own subsystems; until then
// the commands end as cancelled.
int ShellDocDialogs::RunMethodWizard(MethodWizardData&) { return IDCANCEL; }
int ShellDocDialogs::RunMethodSheet(MethodSheetData&) { return IDCANCEL; }
int ShellDocDialogs::RunCalibration(CalibrationDialogData&) { return IDCANCEL; }
int ShellDocDialogs::RunSampleNames(QDescList& descs, int startKind)
{
    QDlgDesc dlg(parent_, descs);
    dlg.SetStartKind(startKind);
    return dlg.Execute() == IDOK ? IDOK : IDCANCEL;
}

int ShellDocDialogs::RunSampleDefinition(SampleDefinitionData& data)
{
    if (!data.plate) return IDCANCEL;
    // The dialog only reads the plate; the document applies the answer.
    QSmpDlg dlg(parent_, *data.plate, data.index, data.option,
                data.quantitative ? QSmpDlg::kQuantitativeId : QSmpDlg::kQualitativeId);
    if (!dlg.HasSample() || dlg.Execute() != IDOK) return IDCANCEL;
    data.globalDefinition = dlg.UseLocal == 0;
    data.categories = dlg.Evaluations;
    if (data.quantitative) data.dilutions = dlg.Dilutions;
    return IDOK;
}

int ShellDocDialogs::RunNameInfo(std::string& name, std::string& comment)
{
    QDlgNameInfo dlg(parent_, name, comment);
    if (dlg.Execute() != IDOK) return IDCANCEL;
    name = dlg.Name;
    comment = dlg.Comment;
    return IDOK;
}

int ShellDocDialogs::RunPresentation(PresentationData& data)
{
    QDefPres dlg(parent_);
    dlg.ResultsMode = data.resultMode ? 1 : 0;
    return ExecuteTransfer(dlg, [&](const TTransfer& t) {
        t(dlg.Format, data.format);
        t(dlg.FieldWidth, data.fieldWidth);
        t(dlg.Units, data.units);
    }) ? IDOK : IDCANCEL;
}

bool ShellDocDialogs::RunFileDialog(FileDialogData& data)
{
    std::string path = data.path;
    const bool ok = data.save ? GetSaveFileName(parent_, data.title, data.filter, "txt", path)
                              : GetOpenFileName(parent_, data.title, data.filter, path);
    if (ok) data.path = path;
    return ok;
}

std::unique_ptr<IStatusReport> ShellDocDialogs::MakeInfoReport() { return std::make_unique<InfoReport>(parent_); }

void ShellDocDialogs::CloseAndDeleteDoc(QDoc& doc)
{
    if (gApp) gApp->GetDocManager().CloseDoc(doc);
}

}  // namespace vyn
