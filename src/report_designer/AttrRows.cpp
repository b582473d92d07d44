#include "report_designer/AttrRows.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "controls/TypedNumberEntry.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ChooseColorDialog.h"
#include "platform/gui/ChooseFontDialog.h"
#include "platform/gui/Dc.h"
#include "report_designer/AttrControls.h"
#include "report_designer/AttrDialogs.h"
#include "report_designer/AttrEditor.h"
#include "report_designer/AttrValues.h"
#include "reports/RPObjAttr.h"

namespace vyn {

namespace {

// Every get and set goes to the current target; without one the neutral interface answers.
RPObjAttr& Target()
{
    static RPObjAttr none;
    return QRAttrGlobals::gAttrTarget ? *QRAttrGlobals::gAttrTarget : none;
}

void Hide(TWindow* w)
{
    if (w) w->ShowWindow(SW_HIDE);
}

void ShowNA(TWindow* w)
{
    if (w) w->ShowWindow(SW_SHOWNA);
}

const TColor kWhite{255, 255, 255};
const TColor kBlack{0, 0, 0};

}  // namespace

// --- the row base ---

SCtrl::SCtrl(int code_, int captionId)
    : code(code_), caption(GetResStringStd(captionId)), hint(GetResStringStd(captionId + 1))
{
}

void SCtrl::SetIndex(int i)
{
    index = i;
    editing = 0;
}

void SCtrl::Place(TWindow& w, const TRect& r, bool redraw) { w.MoveWindow(r, redraw); }

void SCtrl::PostApply()
{
    if (gAttrDlg) gAttrDlg->PostMessage(WM_COMMAND, MAKEWPARAM(cmAttrApply, 0), 0);
}

void SCtrl::Paint(TDC& dc, const TRect& clip)
{
    const QRAttrDlg& d = *gAttrDlg;
    const AttrMetrics& m = gAttrMetrics;
    if (gAttrFont) dc.SelectObject(*gAttrFont);
    const TColor oldBk = dc.SetBkColor(gAttrFaceColor);
    const TColor oldText = dc.GetTextColor();
    const int oldMode = dc.SetBkMode(OPAQUE);
    const int top = d.RowTop(index), tt = d.TextTop(index);
    const TRect client = d.GetClientRect();
    auto part = [&](const TRect& r, const std::string& text) {
        if (r.IsEmpty() || (r & clip).IsEmpty()) return;
        dc.ExtTextOut(r.left, r.top, ETO_OPAQUE | ETO_CLIPPED, &r, text);
    };
    part(TRect(clip.left, top, clip.right, tt), std::string());
    const TRect name = d.NameRect(index), value = d.ValueRect(index);
    part(TRect(client.left, tt, name.left, tt + m.cy), std::string());
    part(TRect(name.right, tt, value.left, tt + m.cy), std::string());
    part(TRect(value.right, tt, std::max(client.right, clip.right), tt + m.cy), std::string());
    dc.SetTextColor(editing ? gAttrActiveTextColor : kBlack);
    part(name, caption);
    dc.SetTextColor(kBlack);
    dc.SetBkColor(kWhite);
    part(value, valueText);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldText);
    dc.SetBkColor(oldBk);
    if (gAttrFont) dc.RestoreFont();
}

void SCtrl::BeginEdit(int)
{
    editing = 1;
    if (gAttrStatus) gAttrStatus->SetText(hint);
    if (gAttrDlg) gAttrDlg->InvalidateRect(TRect(0, gAttrDlg->RowTop(index), gAttrDlg->GetClientRect().right,
                                                 gAttrDlg->RowTop(index) + gAttrMetrics.rowHeight), false);
}

void SCtrl::EndEdit(int)
{
    editing = 0;
    if (gAttrStatus) gAttrStatus->Clear();
    if (gAttrDlg) gAttrDlg->InvalidateRect(TRect(0, gAttrDlg->RowTop(index), gAttrDlg->GetClientRect().right,
                                                 gAttrDlg->RowTop(index) + gAttrMetrics.rowHeight), false);
}

void SCtrl::StartValueEdit(int byMouse, bool besideButton)
{
    QRAttrEdit& e = *gAttrEdit;
    e.choiceMode = 0;
    Place(e, besideButton ? gAttrDlg->ValueTextRect(index) : gAttrDlg->ValueRect(index), false);
    e.SetWindowText(valueText);
    e.ClearModify();
    ShowNA(&e);
    e.SetFocus();
    // From the keyboard the whole value is selected, ready to be typed over; a click leaves
    // the caret at the end of the text.
    const int n = static_cast<int>(valueText.size());
    if (byMouse) e.SetSelection(n, n);
    else e.SetSelection(0, n);
}

void SCtrl::StartChoiceEdit(bool besideButton)
{
    QRAttrEdit& e = *gAttrEdit;
    e.choiceMode = 1;
    e.SetWindowText(valueText);
    e.ClearModify();
    Place(e, besideButton ? gAttrDlg->ValueTextRect(index) : gAttrDlg->ValueRect(index), false);
    ShowNA(&e);
    e.SetFocus();
}

// --- texts ---

SCtrlText::SCtrlText(int code_, int captionId, bool expression) : SCtrl(code_, captionId)
{
    if (expression) hasDialogButton = hasZoomButton = 1;
}

std::string SCtrlText::GetValue() const
{
    return code == acCondition ? Target().GetCondition() : Target().GetContents();
}

void SCtrlText::SetValue(const std::string& text)
{
    if (code == acCondition) Target().SetCondition(text);
    else Target().SetContents(text);
}

void SCtrlText::LoadValue() { valueText = GetValue(); }

void SCtrlText::BeginEdit(int byMouse)
{
    SCtrl::BeginEdit(byMouse);
    if (hasZoomButton) {
        Place(*gAttrDropButton, gAttrDlg->ValueSwatchRect(index), false);
        ShowNA(gAttrDropButton);
    }
    if (hasDialogButton) {
        Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), false);
        ShowNA(gAttrMoreButton);
    }
    StartValueEdit(byMouse, hasZoomButton != 0);
}

void SCtrlText::EndEdit(int cancel)
{
    bool take = false;
    std::string text;
    if (editing) {
        if (hasZoomButton) Hide(gAttrDropButton);
        if (hasDialogButton) Hide(gAttrMoreButton);
        Hide(gAttrEdit);
        if (!cancel && gAttrEdit->IsModified()) {
            take = true;
            text = gAttrEdit->GetWindowText();
        }
    }
    SCtrl::EndEdit(cancel);
    if (take) {
        SetValue(text);
        LoadValue();
    }
}

void SCtrlText::Command(int id)
{
    if (!hasZoomButton) return;
    if (id == idAttrDrop) {
        TWindow* parent = gAttrDlg->BeginModal();
        QREdZDlg dlg(parent);
        dlg.text = gAttrEdit->GetWindowText();
        const int r = dlg.Execute();
        gAttrDlg->EndModal();
        if (r == IDOK) {
            gAttrEdit->SetWindowText(dlg.text);
            gAttrEdit->SetModify(true);
            PostApply();
        }
    } else if (id == idAttrMore) {
        TWindow* parent = gAttrDlg->BeginModal();
        FSeleDlg dlg(parent);
        dlg.Execute();
        gAttrDlg->EndModal();
    }
}

void SCtrlText::Reposition()
{
    if (!editing) return;
    Place(*gAttrEdit, hasZoomButton ? gAttrDlg->ValueTextRect(index) : gAttrDlg->ValueRect(index), true);
    if (hasZoomButton) Place(*gAttrDropButton, gAttrDlg->ValueSwatchRect(index), true);
    if (hasDialogButton) Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), true);
}

// --- whole numbers ---

SCtrlNumber::SCtrlNumber(int code_, int captionId, int minimum_, int maximum_)
    : SCtrl(code_, captionId), minimum(minimum_), maximum(maximum_)
{
}

void SCtrlNumber::LoadValue()
{
    current = GetIntAttr(Target(), code);
    if (current == kNoCommonValue) {
        valueText.clear();
        return;
    }
    if (minimum != maximum) current = std::clamp(current, minimum, maximum);
    valueText = std::to_string(current);
}

void SCtrlNumber::BeginEdit(int byMouse)
{
    SCtrl::BeginEdit(byMouse);
    if (hasDialogButton) {
        Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), false);
        ShowNA(gAttrMoreButton);
    }
    StartValueEdit(byMouse, true);
}

void SCtrlNumber::EndEdit(int cancel)
{
    int number = kNoCommonValue;
    std::string refused;
    bool wasRefused = false;
    if (editing) {
        if (hasDialogButton) Hide(gAttrMoreButton);
        Hide(gAttrEdit);
        const std::string text = gAttrEdit->GetWindowText();
        // An empty edit changes nothing; any other text must be a whole number of the row's
        // range, else the row keeps its value and the user is told once the edit has ended.
        if (!cancel && gAttrEdit->IsModified() && ReadTypedWhole(text.c_str(), minimum, maximum, number) == tnNotANumber) {
            refused = text;
            wasRefused = true;
        }
    }
    SCtrl::EndEdit(cancel);
    if (wasRefused) {
        TWindow* parent = gAttrDlg->BeginModal();
        TellNotAWholeNumber(parent, refused, WholeField{minimum, maximum});
        gAttrDlg->EndModal();
        return;
    }
    if (number != kNoCommonValue && number != current) {
        SetIntAttr(Target(), code, number);
        LoadValue();
    }
}

void SCtrlNumber::Reposition()
{
    if (!editing) return;
    Place(*gAttrEdit, gAttrDlg->ValueTextRect(index), true);
    if (hasDialogButton) Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), true);
}

// --- lengths ---

void SCtrlHeSizes::LoadValue() { valueText = TwipsToInchText(GetIntAttr(Target(), code)); }

void SCtrlHeSizes::BeginEdit(int byMouse)
{
    SCtrl::BeginEdit(byMouse);
    StartValueEdit(byMouse, false);
}

void SCtrlHeSizes::EndEdit(int cancel)
{
    int result = 0, twips = 0;
    if (editing) {
        Hide(gAttrEdit);
        if (!cancel && gAttrEdit->IsModified()) result = ParseLengthText(gAttrEdit->GetWindowText(), twips);
    }
    SCtrl::EndEdit(cancel);
    if (result == 1) {
        SetIntAttr(Target(), code, twips);
        LoadValue();
    }
}

void SCtrlHeSizes::Reposition()
{
    if (editing) Place(*gAttrEdit, gAttrDlg->ValueRect(index), true);
}

// --- colours ---

void SCtrlColors::LoadValue()
{
    current = GetIntAttr(Target(), code);
    valueText = ColorText(current);
}

void SCtrlColors::SyncColorSwatch()
{
    const std::string text = gAttrEdit->GetWindowText().substr(0, 15);
    gAttrColor->SetColor(text.empty() ? -1 : ParseColorText(text));
}

void SCtrlColors::BeginEdit(int byMouse)
{
    SCtrl::BeginEdit(byMouse);
    Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), false);
    ShowNA(gAttrMoreButton);
    Place(*gAttrColor, gAttrDlg->ValueSwatchRect(index), false);
    ShowNA(gAttrColor);
    StartValueEdit(byMouse, true);
    SyncColorSwatch();
}

void SCtrlColors::Command(int id)
{
    if (id == cmAttrEditChange) {
        SyncColorSwatch();
    } else if (id == idAttrMore) {
        // The custom colours stay for the run of the program.
        static std::array<TColor, 16> custom{};
        int initial = ParseColorText(gAttrEdit->GetWindowText().substr(0, 15));
        if (initial == -1) initial = 0xFFFFFF;
        TWindow* parent = gAttrDlg->BeginModal();
        TChooseColorDialog dlg(parent, TColor(static_cast<std::uint32_t>(initial)), custom);
        const int r = dlg.Execute();
        gAttrDlg->EndModal();
        const int chosen = static_cast<int>(dlg.GetColor().value & 0xFFFFFF);
        if (r == IDOK && chosen != initial) {
            gAttrEdit->SetWindowText(ColorText(chosen));
            gAttrEdit->SetModify(true);
            PostApply();
        }
    }
}

void SCtrlColors::EndEdit(int cancel)
{
    int colour = -1;
    if (editing) {
        Hide(gAttrColor);
        Hide(gAttrMoreButton);
        Hide(gAttrEdit);
        const std::string text = gAttrEdit->GetWindowText().substr(0, 19);
        if (!cancel && gAttrEdit->IsModified() && !text.empty()) colour = ParseColorText(text);
        if (colour == current) colour = -1;
    }
    SCtrl::EndEdit(cancel);
    if (colour >= 0) {
        SetIntAttr(Target(), code, colour);
        LoadValue();
    }
}

void SCtrlColors::Reposition()
{
    if (!editing) return;
    Place(*gAttrEdit, gAttrDlg->ValueTextRect(index), true);
    Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), true);
    Place(*gAttrColor, gAttrDlg->ValueSwatchRect(index), true);
}

// --- choices ---

void CopyChoiceToEdit()
{
    QRAttrList& l = *QRAttrGlobals::gAttrList;
    const int sel = l.GetSelIndex();
    QRAttrGlobals::gAttrEdit->SetWindowText(sel >= 0 ? l.GetString(sel) : std::string());
}

int SelectChoiceByChar(int c)
{
    QRAttrList& l = *QRAttrGlobals::gAttrList;
    const int n = l.GetCount();
    if (n < 1) return 0;
    auto upper = [](int ch) { return ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch; };
    c = upper(c);
    if (c == ' ') {
        const int sel = l.GetSelIndex();
        l.SetSelIndex(sel < 0 || sel + 1 >= n ? 0 : sel + 1);
        CopyChoiceToEdit();
        return 1;
    }
    int sel = l.GetSelIndex();
    if (sel < 0) {
        sel = 0;
        l.SetSelIndex(0);
    }
    for (int step = 1; step <= n; ++step) {
        const int i = (sel + step) % n;
        const std::string t = l.GetString(i);
        if (t.empty() || upper(static_cast<unsigned char>(t[0])) != c) continue;
        if (step == n) return 2;
        l.SetSelIndex(i);
        CopyChoiceToEdit();
        return 1;
    }
    return 0;
}

SCtrlChoice::SCtrlChoice(int code_, int captionId, int group)
    : SCtrl(code_, captionId), choices(&ChoiceTexts(group)), count(static_cast<int>(choices->size()))
{
}

void SCtrlChoice::LoadValue()
{
    current = GetIntAttr(Target(), code);
    if (current < 0 || current >= count) current = -1;
    valueText = current < 0 ? std::string() : (*choices)[current];
}

void SCtrlChoice::BeginEdit(int byMouse)
{
    SCtrl::BeginEdit(byMouse);
    QRAttrList& l = *gAttrList;
    l.ClearList();
    for (const std::string& c : *choices) l.AddString(c);
    l.SetSelIndex(current);
    StartChoiceEdit(true);
    CopyChoiceToEdit();
    gAttrEdit->ClearModify();
    Place(l, gAttrDlg->DropListRect(index, count), false);
    Place(*gAttrDropButton, gAttrDlg->ValueSwatchRect(index), false);
    ShowNA(gAttrDropButton);
}

void SCtrlChoice::EndEdit(int cancel)
{
    int sel = -1;
    if (editing) {
        Hide(gAttrEdit);
        Hide(gAttrDropButton);
        Hide(gAttrList);
        sel = gAttrList->GetSelIndex();
    }
    SCtrl::EndEdit(cancel);
    if (!cancel && sel >= 0 && sel != current) {
        current = sel;
        SetIntAttr(Target(), code, sel);
        LoadValue();
    }
}

void SCtrlChoice::Command(int id)
{
    switch (id) {
    case idAttrDrop:
        if (gAttrList->IsWindowVisible()) {
            Hide(gAttrList);
        } else {
            ShowNA(gAttrList);
            gAttrList->SetFocus();
        }
        break;
    case cmAttrEditChar: SelectChoiceByChar(gAttrEdit->lastChar); break;
    case cmAttrEditFocus: Hide(gAttrList); break;
    case cmAttrListSel: CopyChoiceToEdit(); break;
    case cmAttrListChar:
        if (SelectChoiceByChar(gAttrList->lastChar) != 0) PostApply();
        break;
    case cmAttrListLeave: gAttrEdit->SetFocus(); break;
    case cmAttrListPick: PostApply(); break;
    default: break;
    }
}

void SCtrlChoice::Reposition()
{
    if (!editing) return;
    Place(*gAttrEdit, gAttrDlg->ValueTextRect(index), true);
    Place(*gAttrList, gAttrDlg->DropListRect(index, count), true);
    Place(*gAttrDropButton, gAttrDlg->ValueSwatchRect(index), true);
}

// --- font ---

void SCtrlFont::LoadValue()
{
    targetFont = Target().GetFont();
    valueText = FontValueText(targetFont);
    changed = 0;
}

void SCtrlFont::BeginEdit(int byMouse)
{
    SCtrl::BeginEdit(byMouse);
    StartChoiceEdit(false);
    Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), false);
    ShowNA(gAttrMoreButton);
    font = targetFont ? *targetFont : RPLogFont{};
    changed = 0;
}

void SCtrlFont::Command(int id)
{
    if (id != idAttrMore) return;
    TLogFont lf;
    lf.lfHeight = -static_cast<int>(std::lround(font.height * static_cast<double>(gScreenPpiY) / 720.0));
    lf.lfWidth = font.width;
    lf.lfEscapement = font.escapement;
    lf.lfOrientation = font.orientation;
    lf.lfWeight = font.weight;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeOut;
    lf.lfCharSet = font.charSet;
    lf.lfOutPrecision = 0;
    lf.lfClipPrecision = 0;
    lf.lfQuality = 1;
    lf.lfPitchAndFamily = 0;
    lf.lfFaceName = font.Face();
    TWindow* parent = gAttrDlg->BeginModal();
    TChooseFontDialog dlg(parent, lf, nullptr);
    const int r = dlg.Execute();
    gAttrDlg->EndModal();
    if (r != IDOK) return;
    const TLogFont& got = dlg.GetLogFont();
    RPLogFont f;
    f.height = dlg.GetPointSize();
    f.width = got.lfWidth;
    f.escapement = got.lfEscapement;
    f.orientation = got.lfOrientation;
    f.weight = got.lfWeight;
    f.italic = got.lfItalic;
    f.underline = got.lfUnderline;
    f.strikeOut = got.lfStrikeOut;
    f.charSet = got.lfCharSet;
    f.outPrecision = got.lfOutPrecision;
    f.clipPrecision = got.lfClipPrecision;
    f.quality = got.lfQuality;
    f.pitchAndFamily = got.lfPitchAndFamily;
    f.SetFace(got.lfFaceName);
    font = f;
    changed = 1;
    PostApply();
}

void SCtrlFont::EndEdit(int cancel)
{
    if (editing) {
        Hide(gAttrMoreButton);
        Hide(gAttrEdit);
    }
    SCtrl::EndEdit(cancel);
    if (!cancel && changed && SameLogFont(targetFont, &font) != 0) {
        Target().SetFont(font);
        LoadValue();
    }
}

void SCtrlFont::Reposition()
{
    if (!editing) return;
    Place(*gAttrEdit, gAttrDlg->ValueRect(index), true);
    Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), true);
}

// --- number format ---

void SCtrlFormat::LoadValue()
{
    format = Target().GetFormat();
    changed = 0;
    valueText = FormatValueText(format);
}

void SCtrlFormat::BeginEdit(int byMouse)
{
    SCtrl::BeginEdit(byMouse);
    StartChoiceEdit(false);
    Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), false);
    ShowNA(gAttrMoreButton);
    changed = 0;
}

void SCtrlFormat::Command(int id)
{
    if (id != idAttrMore) return;
    TWindow* parent = gAttrDlg->BeginModal();
    QRFmtDlg dlg(parent);
    dlg.format = format;
    const int r = dlg.Execute();
    gAttrDlg->EndModal();
    if (r != IDOK) return;
    if (!(dlg.format == format) && dlg.format.kind >= 0 && dlg.format.kind <= 2) {
        format = dlg.format;
        changed = 1;
    }
    PostApply();
}

void SCtrlFormat::EndEdit(int cancel)
{
    if (editing) {
        Hide(gAttrMoreButton);
        Hide(gAttrEdit);
    }
    SCtrl::EndEdit(cancel);
    if (!cancel && changed) {
        Target().SetFormat(format);
        LoadValue();
    }
}

void SCtrlFormat::Reposition()
{
    if (!editing) return;
    Place(*gAttrEdit, gAttrDlg->ValueRect(index), true);
    Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), true);
}

// --- axes ---

void SCtrlAxis::GetValue() { axis = axisIndex == 0 ? Target().GetAxisX() : Target().GetAxisY(); }

void SCtrlAxis::SetValue()
{
    if (axisIndex == 0) Target().SetAxisX(axis);
    else Target().SetAxisY(axis);
}

void SCtrlAxis::LoadValue()
{
    GetValue();
    changed = 0;
    valueText = AxisValueText(axis);
}

void SCtrlAxis::BeginEdit(int byMouse)
{
    SCtrl::BeginEdit(byMouse);
    StartChoiceEdit(false);
    Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), false);
    ShowNA(gAttrMoreButton);
    changed = 0;
}

void SCtrlAxis::Command(int id)
{
    if (id != idAttrMore) return;
    TWindow* parent = gAttrDlg->BeginModal();
    QRAxisDlg dlg(parent);
    dlg.axisIndex = axisIndex;
    dlg.spec = axis;
    const int r = dlg.Execute();
    gAttrDlg->EndModal();
    if (r != IDOK) return;
    if (!(dlg.spec == axis) && dlg.spec.kind >= 0 && dlg.spec.kind <= 2 && dlg.spec.RangeError() == 0) {
        axis = dlg.spec;
        changed = 1;
    }
    PostApply();
}

void SCtrlAxis::EndEdit(int cancel)
{
    if (editing) {
        Hide(gAttrMoreButton);
        Hide(gAttrEdit);
    }
    SCtrl::EndEdit(cancel);
    if (!cancel && changed) {
        SetValue();
        LoadValue();
    }
}

void SCtrlAxis::Reposition()
{
    if (!editing) return;
    Place(*gAttrEdit, gAttrDlg->ValueRect(index), true);
    Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), true);
}

// --- evaluation context ---

bool SCtrlSource::Complete(const QRSource& s)
{
    switch (s.kind) {
    case srDefault:
    case srGlobal: return true;
    case srCell: return s.row >= 0 && s.column >= 0;
    case srSample: return !s.id.empty();
    default: return false;
    }
}

void SCtrlSource::LoadValue()
{
    edited = Target().GetSource();
    loaded = edited;
    valueText = loaded.Describe();
}

void SCtrlSource::BeginEdit(int byMouse)
{
    SCtrl::BeginEdit(byMouse);
    edited = loaded;
    QRAttrList& l = *gAttrList;
    l.ClearList();
    for (int k = 0; k < 4; ++k) l.AddString(QRSource::KindName(k));
    l.SetSelIndex(edited.kind);
    valueText = loaded.Describe();
    StartChoiceEdit(true);
    gAttrEdit->SetWindowText(edited.Describe());
    gAttrEdit->ClearModify();
    Place(l, gAttrDlg->DropListRect(index, 4), false);
    Place(*gAttrDropButton, gAttrDlg->ValueSwatchRect(index), false);
    Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), false);
    ShowNA(gAttrDropButton);
    ShowNA(gAttrMoreButton);
}

void SCtrlSource::TakeListKind()
{
    edited.Clear(gAttrList->GetSelIndex());
    gAttrEdit->SetWindowText(edited.Describe());
}

void SCtrlSource::Command(int id)
{
    switch (id) {
    case idAttrDrop:
        if (gAttrList->IsWindowVisible()) {
            Hide(gAttrList);
        } else {
            ShowNA(gAttrList);
            gAttrList->SetFocus();
        }
        break;
    case idAttrMore: {
        gAttrMoreButton->SetFocus();
        Hide(gAttrList);
        TWindow* parent = gAttrDlg->BeginModal();
        QRSrcDlg dlg(parent);
        dlg.kind = edited.kind;
        dlg.cellText = edited.CellName();
        dlg.sampleText = edited.id;
        const int r = dlg.Execute();
        gAttrDlg->EndModal();
        if (r == IDOK) {
            edited.Set(dlg.kind, dlg.cellText, dlg.sampleText);
            gAttrList->SetSelIndex(edited.kind);
            gAttrEdit->SetWindowText(edited.Describe());
            if (Complete(edited)) PostApply();
        }
        break;
    }
    case cmAttrEditChar:
    case cmAttrListChar:
        if (SelectChoiceByChar(id == cmAttrEditChar ? gAttrEdit->lastChar : gAttrList->lastChar) != 0) {
            TakeListKind();
            gAttrEdit->SetFocus();
        }
        break;
    case cmAttrEditFocus: Hide(gAttrList); break;
    case cmAttrListSel:
        if (gAttrList->GetSelIndex() != edited.kind) TakeListKind();
        break;
    case cmAttrListLeave: gAttrEdit->SetFocus(); break;
    case cmAttrListPick:
        if (edited.kind >= 0 && Complete(edited)) PostApply();
        else gAttrDlg->PostMessage(WM_COMMAND, MAKEWPARAM(idAttrMore, 0), 0);
        break;
    default: break;
    }
}

void SCtrlSource::EndEdit(int cancel)
{
    if (editing) {
        Hide(gAttrEdit);
        Hide(gAttrDropButton);
        Hide(gAttrList);
        Hide(gAttrMoreButton);
    }
    SCtrl::EndEdit(cancel);
    if (!cancel && edited.kind >= 0 && Complete(edited) && !(edited == loaded)) {
        Target().SetSource(edited);
        LoadValue();
    }
}

void SCtrlSource::Reposition()
{
    if (!editing) return;
    Place(*gAttrEdit, gAttrDlg->ValueTextRect(index), true);
    Place(*gAttrDropButton, gAttrDlg->ValueSwatchRect(index), true);
    Place(*gAttrList, gAttrDlg->DropListRect(index, 4), true);
    Place(*gAttrMoreButton, gAttrDlg->ButtonRect(index), true);
}

// --- the fixed set ---

std::vector<std::unique_ptr<SCtrl>> MakeAttrRows()
{
    std::vector<std::unique_ptr<SCtrl>> r;
    auto choice = [&r](int code, int id, int group) { r.push_back(std::make_unique<SCtrlChoice>(code, id, group)); };
    auto length = [&r](int code, int id) { r.push_back(std::make_unique<SCtrlHeSizes>(code, id)); };
    auto colour = [&r](int code, int id) { r.push_back(std::make_unique<SCtrlColors>(code, id)); };
    r.push_back(std::make_unique<SCtrlText>(acContents, 7657, true));
    r.push_back(std::make_unique<SCtrlFormat>());
    r.push_back(std::make_unique<SCtrlSource>());
    r.push_back(std::make_unique<SCtrlText>(acCondition, 7659, true));
    choice(acLineSlant, 7613, cgSlant);
    choice(acSizeMode, 7629, cgSizeMode);
    length(acLeft, 7639);
    length(acTop, 7641);
    length(acWidth, 7643);
    length(acHeight, 7645);
    choice(acBackStyle, 7607, cgVisibility);
    colour(acRGBBack, 7649);
    choice(acBorderStyle, 7601, cgVisibility);
    colour(acRGBBorder, 7647);
    choice(acBorderWidth, 7603, cgWidth);
    choice(acBorderLnStyle, 7605, cgLineStyle);
    colour(acRGBFore, 7651);
    r.push_back(std::make_unique<SCtrlFont>());
    choice(acTextAlignH, 7609, cgAlignH);
    choice(acTextAlignV, 7611, cgAlignV);
    r.push_back(std::make_unique<SCtrlAxis>(0));
    r.push_back(std::make_unique<SCtrlAxis>(1));
    choice(acCurveRange, 7631, cgCurveRange);
    colour(acRGBCurve, 7653);
    colour(acRGBPoint, 7655);
    choice(acCurveWidth, 7615, cgWidth);
    choice(acDrawGrid, 7635, cgShow);
    choice(acGridWidth, 7617, cgWidth);
    choice(acDrawAxes, 7633, cgShow);
    choice(acAxesWidth, 7619, cgWidth);
    choice(acDrawLabels, 7637, cgShow);
    choice(acForceNewPage, 7621, cgPageBreak);
    choice(acHdFtPresent, 7623, cgPresence);
    r.push_back(std::make_unique<SCtrlNumber>(acNOfColumns, 7661, 1, 24));
    choice(acColumnLayout, 7625, cgOrder);
    choice(acDetailSamples, 7627, cgSampleSelection);
    r.push_back(std::make_unique<SCtrlNumber>(acGranulX, 7663, 1, 72));
    r.push_back(std::make_unique<SCtrlNumber>(acGranulY, 7665, 1, 72));
    return r;
}

}  // namespace vyn
