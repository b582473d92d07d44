// The plate view's commands, its command enabler and the document's notifications, with the
// operations the commands run: data entry, deletion, the insertion tools, dilution letters,
// renumbering, import, export and the clipboard.
#include <algorithm>
#include <cstring>

#include "controls/QGCombo.h"
#include "controls/QGEdit.h"
#include "document/QDoc.h"
#include "platform/core/AsciiText.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "platform/core/StringTable.h"
#include "platform/gui/MsgBox.h"
#include "plate/QPlate.h"
#include "plate/TextFieldCodec.h"
#include "plate/Utilities.h"
#include "views/QPView.h"

namespace vyn {

namespace {

// The entry box hands over at most this many characters.
constexpr std::size_t kEntryTextMax = 63;
constexpr int kMsgStoredCalibration = 1724;
constexpr int kMsgNotANumber = 3250;
constexpr int kLabelControls = 3160;
constexpr int kLabelStandards = 3161;

bool OnlySpaces(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

// --- notifications --------------------------------------------------------------------------

bool QPView::VnNotify(int event, long item)
{
    switch (event) {
    case vnPlateChanged: RepaintChangedWells(); break;
    case vnSampleRemoved: {
        // The tool's pattern may have been the sample taken out.
        bool alive = Pattern == &Plate->globSample || Pattern == &Plate->stdSample;
        for (int i = 0; !alive && i < Plate->sampleCount; ++i) alive = Plate->GetSample(i) == Pattern;
        if (!alive) Pattern = nullptr;
        break;
    }
    case vnSampleSelected:
    case vnSampleFocused: SampleSelected(item); break;
    case vnTransformChanged:
        if (Layers & plMeasured) SetLayers((Layers & ~static_cast<unsigned>(plMeasured)) | plData);
        break;
    case vnPresentationChanged:
        if (item == 8) break;
        if (IsWindow()) Invalidate(false);
        if (item & 4) ApplyCellScale(Plate->cellWidth);
        break;
    default: break;
    }
    return true;
}

void QPView::RepaintChangedWells()
{
    if (!IsWindow()) return;
    for (int i = 0; i < Wells; ++i) {
        const QSample* s = Plate->wells[static_cast<std::size_t>(i)].sample;
        if (Plate->rst.WellChanged(i) || (s && s->index >= 0 && Plate->rst.SampleChanged(s->index))) InvalidateWell(i);
    }
}

void QPView::SampleSelected(long index)
{
    ClearSelection();
    if (index >= 0 && index < Plate->sampleCount)
        if (QSample* s = Plate->GetSample(static_cast<int>(index))) SelectSampleWells(*s);
}

// --- commands -------------------------------------------------------------------------------

void QPView::TakeFocus()
{
    if (IsWindow() && !HasFocus()) SetFocus();
}

void QPView::SwitchToLayout()
{
    if (Mode != pmLayout) SetMode(pmLayout, Mode);
}

TResult QPView::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    const bool measured = Plate->measuredCount > 0;
    switch (id) {
    case cmConfirmEntry: entryBox_->Commit(); return 0;
    case cmCancelEntry: entryBox_->ReturnFocus(); return 0;
    case cmImportData:
        TakeFocus();
        ImportOrExport(true);
        return 0;
    case cmExportData:
        TakeFocus();
        ImportOrExport(false);
        return 0;
    case cmSubtractData:
        if (!measured) return 0;
        TakeFocus();
        ShowLayer(2486);
        if (Shell().subtractData) Shell().subtractData(*Doc);
        if (Mode == pmDataEntry) EntryNotify(0);
        return 0;
    case cmPlateMatrix: return 0;
    case cmEntryBox: EntryNotify(notifyCode); return 0;
    case cmStopEntry:
        if (Mode == pmDataEntry) SetMode(pmDisplay, pmDataEntry);
        TakeFocus();
        return 0;
    case cmEditCell:
        if (Mode == pmDataEntry) EditCell();
        return 0;
    case cmDataEntry:
        if (Mode == pmDisplay) StartDataEntry();
        else if (Mode == pmDataEntry) EditCell();
        return 0;
    case cmLayoutMode:
        if (Mode != pmDisplay) return 0;
        SavedLayers = Layers;
        SetLayers(plLayout | plIdent);
        SetMode(pmLayout, pmDisplay);
        return 0;
    case cmNormalView:
        if (Mode != pmLayout) return 0;
        SetLayers(SavedLayers);
        SetMode(pmDisplay, pmLayout);
        return 0;
    case cmPointer: SetMode(pmLayout, Mode); return 0;
    case cmControls:
        if (!NoPickTool()) return 0;
        SwitchToLayout();
        BeginTool(Plate->globInUse, pmControls);
        return 0;
    case cmQualitative:
        if (!NoPickTool()) return 0;
        SwitchToLayout();
        BeginTool(nullptr, pmQualitative);
        return 0;
    case cmStandards: CmStandards(); return 0;
    case cmQuantitative:
        if (!NoPickTool()) return 0;
        SwitchToLayout();
        BeginTool(nullptr, pmQuantitative);
        return 0;
    case cmRepeat:
        if (Mode != pmRepeat) {
            SwitchToLayout();
            SetMode(pmRepeat, Mode);
        }
        RestartRepeat();
        return 0;
    case cmEditSample:
        if (Mode == pmEdit) return 0;
        SwitchToLayout();
        SetMode(pmEdit, Mode);
        return 0;
    case cmRenumber:
        if (Mode == pmRenumber) {
            RenumberNext();
        } else {
            SwitchToLayout();
            StartRenumber();
        }
        return 0;
    case cmDelete:
        if (Mode == pmDataEntry) {
            DeleteValue();
        } else if (Mode == pmLayout) {
            DeleteSelection();
        } else if (Mode & pmInsertMask) {
            // With a selection the wells go first; either way the tool starts afresh.
            const unsigned tool = Mode & pmInsertMask;
            DeleteSelection();
            SetMode(pmLayout, Mode);
            BeginTool(tool == pmControls ? static_cast<QSample*>(Plate->globInUse)
                      : tool == pmStandards ? static_cast<QSample*>(Plate->stdInUse) : nullptr,
                      tool);
        }
        return 0;
    case cmNextName: nameBox_->SelectNext(); return 0;
    case cmPrevName: nameBox_->SelectPrev(); return 0;
    case cmNextDilution: StepDilution(1); return 0;
    case cmPrevDilution: StepDilution(-1); return 0;
    case cmReplication: ToggleReplication(); return 0;
    default: break;
    }
    if (id >= cmLayerFirst && id <= cmLayerLast) {
        if (Mode == pmDisplay) ToggleLayer(id);
        return 0;
    }
    if (id >= cmArrangeFirst && id <= cmArrangeLast) {
        CmArrangement(static_cast<int>(id - cmArrangeFirst));
        return 0;
    }
    if (id == cmNames) {
        CmNames();
        return 0;
    }
    if (id == cmTransform) {
        CmTransform();
        return 0;
    }
    if (id == cmHelp) {
        CmHelp();
        return 0;
    }
    return TWindow::EvCommand(id, control, notifyCode);
}

void QPView::EvCommandEnable(TCommandEnabler& ce)
{
    const unsigned id = ce.GetId();
    if (id >= 2001 && id <= 2009) return ce.Enable(true);
    if (Shell().setModeText) {
        if (Mode & pmLayoutMask) Shell().setModeText(1);
        else if (Mode & pmDataEntry) Shell().setModeText(2);
    }
    const bool measured = Plate->measuredCount > 0;
    const bool anyValues = measured || Plate->dataCount > 0;
    if (id >= cmLayerFirst && id <= cmLayerLast) {
        ce.Enable(Mode == pmDisplay && (id != 2486 || Plate->dataMode != dmMeasured));
        ce.SetCheck((Layers & (1u << (id - cmLayerFirst))) ? TCommandEnabler::Checked : TCommandEnabler::Unchecked);
        return;
    }
    if (id == cmPlateMatrix || id == cmSampleList || id == cmCalibrationCurve || id == cmSampleGraph) {
        ce.SetCheck(id == cmPlateMatrix ? TCommandEnabler::Checked : TCommandEnabler::Unchecked);
        ce.Enable(id != cmSampleGraph);
        return;
    }
    switch (id) {
    case 24310: case 24331: case 24332: case 24334: case 24336: case 24337: case 24339: case 24340:
        return ce.Enable(true);
    case cmSave: return TWindow::EvCommandEnable(ce);
    case 2216: case 2217: case 2218: case 2245: return ce.Enable(true);
    default: break;
    }
    if (Mode == pmDisplay) {
        switch (id) {
        case cmSubtractData: return ce.Enable(measured);
        case cmImportData: return ce.Enable(true);
        case cmExportData: return ce.Enable(anyValues);
        case cmTransform: return ce.Enable(Plate->dataMode != dmMeasured && measured);
        case cmDataEntry:
        case cmLayoutMode: return ce.Enable(true);
        default: return TWindow::EvCommandEnable(ce);
        }
    }
    if (Mode == pmDataEntry) {
        const int i = CurRow * Cols + CurCol;
        switch (id) {
        case cmDelete: {
            bool has = false;
            if (CurCol >= 0 && CurCol < Cols && CurRow >= 0 && CurRow < Rows) {
                const QWellRecord& w = Plate->wells[static_cast<std::size_t>(i)];
                has = (EntryLayer == plMeasured ? w.measured : w.data) != NoValue;
            }
            return ce.Enable(has);
        }
        case cmSubtractData: return ce.Enable(measured);
        case cmConfirmEntry:
        case cmCancelEntry: return ce.Enable(entryBox_->IsWindow() && entryBox_->HasFocus());
        case cmImportData: return ce.Enable(true);
        case cmExportData: return ce.Enable(anyValues);
        case cmStopEntry:
        case cmEditCell:
        case cmDataEntry: return ce.Enable(true);
        default: return ce.Enable(false);
        }
    }
    if ((Mode & pmLayoutMask) == 0) return ce.Enable(false);

    const unsigned tool = Mode & pmLayoutMask & ~static_cast<unsigned>(pmPatternPending);
    const bool pending = (Mode & pmPatternPending) != 0;
    const bool anySample = Plate->globInUse || Plate->stdInUse || Plate->sampleCount > 0;
    switch (id) {
    case cmControls: ce.SetCheck(tool == pmControls); break;
    case cmQualitative: ce.SetCheck(tool == pmQualitative); break;
    case cmStandards: ce.SetCheck(tool == pmStandards); break;
    case cmQuantitative: ce.SetCheck(tool == pmQuantitative); break;
    case cmRepeat: ce.SetCheck(tool == pmRepeat); break;
    case cmEditSample: ce.SetCheck(tool == pmEdit); break;
    case cmRenumber: ce.SetCheck(tool == pmRenumber); break;
    default:
        if (id >= cmArrangeFirst && id <= cmArrangeLast) ce.SetCheck(Arrangement == static_cast<int>(id - cmArrangeFirst));
        break;
    }
    if (id >= cmArrangeFirst && id <= cmArrangeLast) return ce.Enable(true);
    switch (id) {
    case cmEditSample: return ce.Enable((NoPickTool() || Mode == pmEdit) && anySample);
    case cmPointer:
    case cmNames:
    case cmNormalView: return ce.Enable(true);
    case cmControls:
    case cmQualitative:
    case cmStandards:
    case cmQuantitative: return ce.Enable(NoPickTool());
    case cmRepeat: return ce.Enable((NoPickTool() || Mode == pmRepeat) && Plate->sampleCount > 0);
    case cmRenumber: return ce.Enable((NoPickTool() || Mode == pmRenumber) && Plate->sampleCount > 0);
    case cmDelete: return ce.Enable(SelectedCount > 0);
    case cmNextName:
    case cmPrevName: return ce.Enable(!pending);
    case cmNextDilution:
    case cmPrevDilution: return ce.Enable(Arrangement == 3 && !pending);
    case cmReplication:
        ce.Enable(Arrangement == 3 && Pattern);
        ce.SetCheck(Arrangement == 3 && Pattern && pending);
        return;
    default: return ce.Enable(false);
    }
}

void QPView::CmNames()
{
    const unsigned tool = Mode & pmInsertMask;
    const int kind = tool == pmControls ? 1 : tool == pmStandards ? 4 : tool == pmQualitative ? 2 : tool == pmQuantitative ? 8 : 0;
    const int r = Shell().editSampleNames ? Shell().editSampleNames(*Doc, kind) : 0;
    if (r && kind) {
        FillNameBox(static_cast<unsigned>(kind));
        BarsChanged();
        TakeFocus();
    }
}

void QPView::CmTransform()
{
    if (Mode != pmDisplay || Plate->dataMode == dmMeasured || Plate->measuredCount == 0) return;
    const int r = Shell().calculateBlanking ? Shell().calculateBlanking(*Doc) : Doc->CalculateBlanking();
    if (r) SetLayers(Layers | plData);
}

void QPView::CmHelp()
{
    if (Shell().help) Shell().help(GetContextHelpId());
}

void QPView::CmStandards()
{
    if (!NoPickTool()) return;
    if (Plate->calibr.stored) {
        const int answer = MessageBox(this, GetResString(kMsgStoredCalibration), "Vyn32",
                                      MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
        if (answer != IDOK) return;
        Doc->ResetCalibration();
    }
    SwitchToLayout();
    BeginTool(Plate->stdInUse, pmStandards);
}

void QPView::CmArrangement(int arrangement)
{
    if (arrangement == Arrangement) return;
    nameBox_->ShowWindow(SW_SHOW);
    bars_.nameBoxShown = (Mode & pmInsertMask) != 0;
    const unsigned tool = Mode & pmInsertMask;
    if (Arrangement == 3 && tool && tool != pmStandards) {
        Arrangement = arrangement;
        SetMode(pmLayout, Mode);
        BeginTool(tool == pmControls ? Plate->globInUse : nullptr, tool);
        return;
    }
    ClearSelection();
    Mode &= ~static_cast<unsigned>(pmPatternPending);
    Arrangement = arrangement;
    if (arrangement == 3 && Pattern) SelectSampleWells(*Pattern);
    if (tool == pmStandards || tool == pmQuantitative) {
        DilutionGroup = Pattern ? LastDilutionGroup() + 1 : 0;
        UpdateDilutionLetter();
    }
    BarsChanged();
}

// --- data entry -----------------------------------------------------------------------------

void QPView::StartDataEntry()
{
    if (Mode != pmDisplay) return;
    unsigned layer = plData;
    const unsigned shown = Layers & (plData | plMeasured);
    if (shown == plMeasured) {
        layer = plMeasured;
    } else if (shown != plData && Plate->dataMode != dmMeasured) {
        const int choice = Shell().askDataType ? Shell().askDataType(3138) : static_cast<int>(plData);
        if (choice == 0) return;
        layer = choice == plMeasured ? plMeasured : plData;
    }
    EntryLayer = layer;
    // The values being typed must be visible.
    SetLayers(Layers | layer);
    SetMode(pmDataEntry, pmDisplay);
    if (Mode == pmDataEntry) EntryNotify(QGEdit::kEnded);
}

void QPView::EditCell()
{
    if (Mode != pmDataEntry) return;
    bars_.entryLabel = Plate->WellName(CurRow * Cols + CurCol);
    BarsChanged();
    // Opened without a text, the box asks the view for the cell's value.
    entryBox_->OpenFocused(nullptr);
}

void QPView::EntryNotify(unsigned code)
{
    if (CurCol < 0 || CurCol >= Cols || CurRow < 0 || CurRow >= Rows) return;
    const int i = CurRow * Cols + CurCol;
    const bool measured = EntryLayer == plMeasured;
    if (code == QGEdit::kEnded) {
        bars_.entryLabel = Plate->WellName(i);
        const QWellRecord& w = Plate->wells[static_cast<std::size_t>(i)];
        const double v = measured ? w.measured : w.data;
        entryBox_->Open(v == NoValue ? "" : FormatDouble(v, nmGeneral, 0, 0, 0));
        BarsChanged();
        return;
    }
    std::string text = entryBox_->GetWindowText();
    if (text.size() > kEntryTextMax) text.resize(kEntryTextMax);
    double value = NoValue;
    if (!OnlySpaces(text)) {
        const char* end = nullptr;
        // A typo must not wipe the well: only a whole number is stored, an empty box clears it.
        // nan and infinities are no numbers either: the plate file could not hold them.
        if (ReadTypedNumber(text.c_str(), value, &end) != tnNumber || !end || !OnlySpaces(end)) {
            // The box shows the kept value again, so that leaving it does not offer the text twice.
            const std::string shown = FormatResString(kMsgNotANumber, text.c_str());
            EntryNotify(QGEdit::kEnded);
            MessageBox(this, shown, "Vyn32", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    Doc->SetPlateValue(value, i, measured);
}

void QPView::DeleteValue()
{
    if (Mode != pmDataEntry || CurCol < 0 || CurCol >= Cols || CurRow < 0 || CurRow >= Rows) return;
    Doc->SetPlateValue(NoValue, CurRow * Cols + CurCol, EntryLayer == plMeasured);
    entryBox_->Open("");
}

void QPView::DeleteSelection()
{
    if (SelectedCount == 0) return;
    std::vector<unsigned char> selection = Selected;
    if (!Doc->ClearSelectedWells(selection)) return;
    ClearSelection();
    TrackBlanks();
}

std::string QPView::BlankName() const
{
    const std::string setting = Shell().autoBlankName ? Shell().autoBlankName() : std::string();
    if (setting.empty()) return {};
    for (const auto& d : Plate->descs)
        if (d && (d->kind & 1) && EqualsNoCase(d->name, setting)) return d->name;
    return setting;
}

void QPView::TrackBlanks()
{
    const std::string name = BlankName();
    if (name.empty()) return;
    int n = 0;
    if (Plate->globInUse)
        for (const QSegm& e : Plate->globInUse->wells)
            if (e.desc && (e.desc->kind & 1) && EqualsNoCase(e.desc->name, name)) ++n;
    int kind = Plate->dataMode == dmMeasured ? 0 : 3;
    if (Plate->dataMode == dmSimple) kind = Shell().classifyBlank ? Shell().classifyBlank(Plate->blankExpr, name) : 3;
    // A blanking the user wrote himself is left alone.
    if (kind == 3) return;
    if (n == 0) {
        Doc->SetBlanking(dmMeasured, Plate->blankExpr);
    } else if (Shell().blankText) {
        Doc->SetBlanking(dmSimple, Shell().blankText(n >= 2, name));
    }
}

void QPView::ImportOrExport(bool import)
{
    bool measured = false;
    if (Mode == pmDisplay) {
        const unsigned shown = Layers & (plData | plMeasured);
        if (shown == plMeasured || shown == plData) {
            measured = shown == plMeasured;
        } else if (Plate->dataMode != dmMeasured) {
            const int choice = Shell().askDataType ? Shell().askDataType(import ? 3137 : 3136) : static_cast<int>(plData);
            if (choice == 0) return;
            measured = choice == plMeasured;
        }
    } else if (Mode == pmDataEntry) {
        measured = EntryLayer == plMeasured;
    } else {
        return;
    }
    const auto& hook = import ? Shell().importData : Shell().exportData;
    if (hook) hook(*Doc, measured);
    if (import && Mode == pmDataEntry) EntryNotify(0);
}

// --- tools ----------------------------------------------------------------------------------

int QPView::LastDilutionGroup() const { return Pattern && !Pattern->wells.empty() ? Pattern->wells.back().group : -1; }

void QPView::UpdateDilutionLetter()
{
    bars_.dilutionLetter = std::string(1, static_cast<char>('a' + std::clamp(DilutionGroup, 0, 25)));
    BarsChanged();
}

std::string QPView::ToolLabel() const
{
    const unsigned tool = Mode & pmInsertMask;
    if (tool == pmControls) return GetResStringStd(kLabelControls);
    if (tool == pmStandards) return GetResStringStd(kLabelStandards);
    if (!Pattern) return std::to_string(Plate->sampleCount - Plate->fixedCount + 1) + ":";
    if (Pattern->IsFixed()) return Pattern->ident;
    return std::to_string(Pattern->SeqNumber()) + ":" + Pattern->ident;
}

void QPView::BeginTool(QSample* sample, unsigned tool)
{
    SetMode(tool, Mode);
    if (Mode != tool) return;
    // Without names of the tool's kind nothing could be placed: the user defines them first.
    if (nameBox_->GetCount() == 0) CmNames();
    nameBox_->SetSelIndex(0);
    Pattern = sample;
    ClearSelection();
    if (tool == pmStandards || tool == pmQuantitative) {
        DilutionGroup = Pattern ? LastDilutionGroup() + 1 : 0;
        UpdateDilutionLetter();
    }
    if ((tool == pmControls || Arrangement == 3) && Pattern) SelectSampleWells(*Pattern);
    SetToolText(ToolLabel());
}

void QPView::RestartRepeat()
{
    Pattern = nullptr;
    ClearSelection();
    PickKind = 6;
    bars_.repeatPicture = 0;
    SetToolText("?");
}

void QPView::StartRenumber()
{
    if (Plate->sampleCount == 0) return;
    SetMode(pmRenumber, Mode);
    ClearSelection();
    PickKind = 6;
    RenumberNext_ = 0;
    RenumberFirst = Plate->fixedCount;
    RenumberFixedPart = false;
    SetRenumberLabel();
}

void QPView::SetRenumberLabel()
{
    // The sequential part counts from 1; the fixed part by the fixed samples' letters.
    bars_.renumberText = RenumberFixedPart ? IndexToLetters(RenumberNext_) : std::to_string(RenumberNext_ + 1);
    SetToolText(bars_.renumberText);
}

void QPView::RenumberNext()
{
    if (Mode != pmRenumber) return;
    if (RenumberNext_ == 0) {
        // Nothing numbered yet in this part: the other part is numbered instead.
        RenumberFixedPart = !RenumberFixedPart;
        RenumberFirst = RenumberFixedPart ? 0 : Plate->fixedCount;
        if (RenumberDone()) EndRenumber();
        else SetRenumberLabel();
        return;
    }
    CountRenumbered();
}

void QPView::CountRenumbered()
{
    ++RenumberNext_;
    if (RenumberDone()) EndRenumber();
    else SetRenumberLabel();
}

bool QPView::RenumberDone() const
{
    if (RenumberFixedPart) return RenumberNext_ >= Plate->fixedCount;
    return RenumberFirst + RenumberNext_ >= Plate->sampleCount;
}

void QPView::EndRenumber()
{
    SetMode(pmLayout, Mode);
    ClearSelection();
}

bool QPView::AcceptRenumber(const QSample& sample) const
{
    // Only samples not numbered yet in this part may take the next position.
    const int position = RenumberFirst + RenumberNext_;
    if (RenumberFixedPart) return sample.index >= position && sample.index < Plate->fixedCount;
    return sample.index >= position && sample.index < Plate->sampleCount;
}

void QPView::StepDilution(int step)
{
    const int last = Pattern ? LastDilutionGroup() + 1 : 0;
    DilutionGroup = std::clamp(DilutionGroup + step, 0, std::max(0, last));
    nameBox_->SetSelIndex(0);
    UpdateDilutionLetter();
}

void QPView::ToggleReplication()
{
    const unsigned tool = Mode & pmInsertMask;
    if (tool != pmStandards && tool != pmQuantitative) return;
    if (!(Mode & pmPatternPending) && Pattern) {
        DilutionGroup = LastDilutionGroup() + 1;
        UpdateDilutionLetter();
        nameBox_->SetSelIndex(0);
        nameBox_->ShowWindow(SW_HIDE);
        bars_.nameBoxShown = false;
        Mode |= pmPatternPending;
    } else if (Mode & pmPatternPending) {
        Mode &= ~static_cast<unsigned>(pmPatternPending);
        nameBox_->ShowWindow(SW_SHOW);
        bars_.nameBoxShown = true;
    }
    BarsChanged();
}

// --- clipboard ------------------------------------------------------------------------------

bool QPView::ClipboardLayer(bool& measured) const
{
    if (Mode == pmDataEntry) {
        measured = EntryLayer == plMeasured;
        return true;
    }
    if (Mode != pmDisplay || (Layers & (plData | plMeasured)) == 0) return false;
    measured = (Layers & plData) == 0;
    return true;
}

void QPView::CopyPlate()
{
    bool measured = false;
    if (!ClipboardLayer(measured)) return;
    std::string text;
    for (int r = 0; r < Rows; ++r) text += FormatCellRow(*Plate, r, !measured) + "\r\n";
    if (Shell().setClipboardText) Shell().setClipboardText(text);
}

void QPView::PastePlate()
{
    bool measured = false;
    if (!ClipboardLayer(measured) || !Shell().clipboardText || !Shell().pastePlate) return;
    const std::string text = Shell().clipboardText();
    if (text.empty()) return;
    Shell().pastePlate(*Doc, text, measured);
    if (Mode == pmDataEntry) EntryNotify(0);
}

}  // namespace vyn
