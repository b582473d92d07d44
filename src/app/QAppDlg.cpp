#include "app/QAppDlg.h"

#include <algorithm>
#include <locale>

#include "app/AppSettings.h"
#include "controls/QGEdit.h"
#include "controls/TypedNumberEntry.h"
#include "plate/TextFieldCodec.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/MsgBox.h"

namespace vyn {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kMsgNoSeparator = 21096;
constexpr int kMsgNotASeparator = 21341;
constexpr int kMsgSeparatorInNumbers = 21347;
constexpr const char* kSeparators = ".,;t: |";
// The ranges of the spin controls beside the fields.
constexpr WholeField kWidthField{1, 128};
constexpr WholeField kFormatField{0, 15};

// The first control id of each page; its frame has the id one below.
constexpr int kPageFirst[6] = {201, 301, 401, 501, 601, 701};
constexpr int kPageLast[6] = {204, 308, 421, 518, 608, 708};

// The user's own decimal character, when the environment names one.
char SystemDecimal()
{
    try {
        const std::locale user("");
        const char c = std::use_facet<std::numpunct<char>>(user).decimal_point();
        return c == ',' ? ',' : '.';
    } catch (...) {
        return '.';
    }
}

// A separator the exports cannot use shows as nothing, so that Save asks for one.
std::string SeparatorShown(char c)
{
    if (!IsUsableSeparator(static_cast<unsigned char>(c))) return {};
    return c == '\t' ? std::string("t") : std::string(1, c);
}

char SeparatorTyped(const std::string& text)
{
    if (text.empty()) return '\0';
    return (text[0] == 't' || text[0] == 'T') ? '\t' : text[0];
}

std::string Limited(std::string text, std::size_t n)
{
    if (text.size() > n) text.resize(n);
    return text;
}

}  // namespace

char QAppDlg::systemDecimal_ = 0;
int QAppDlg::lastPage_ = -1;
bool QAppDlg::settingUp_ = false;

QAppDlg::QAppDlg(TWindow* parent, int resId)
    // The separator edits take one character of any kind (up to four bytes), so that one the
    // exports cannot use is refused at Save with its reason rather than swallowed unseen.
    : TDialog(parent, resId), expSep_(new QScEdit(this, 403, 5)), cellSep_(new QScEdit(this, 503, 5))
{
    if (!systemDecimal_) systemDecimal_ = SystemDecimal();
    DecimalChar = systemDecimal_;
    for (int i = 0; i < 6; ++i) OnCommand(101 + i, [this, i] { PageButton(i); });
    OnCommand(202, [this] { DecimalChar = '.'; });
    OnCommand(203, [this] { DecimalChar = ','; });
    for (unsigned id : {401u, 402u, 412u, 413u, 414u, 501u, 502u, 509u, 510u, 511u}) OnCommand(id, [this] { Refresh(); });
    for (unsigned id : {403u, 416u, 419u, 503u, 513u, 516u}) OnNotify(id, EN_CHANGE, [this] { Refresh(); });
}

void QAppDlg::FromSettings(const AppSettings& s, char decimalChar)
{
    DecimalChar = decimalChar;
    ResError = s.resError;
    ResUnder = s.resUnder;
    ResOver = s.resOver;
    ExpFixFields = s.expFixFields;
    ExpSeparator = s.expSeparator;
    ExpIdLen = s.expIdLen;
    ExpResLen = s.expResLen;
    ExpFormat = s.expFormat;
    CellFixFields = s.cellFixFields;
    CellSeparator = s.cellSeparator;
    CellValLen = s.cellValLen;
    CellFormat = s.cellFormat;
    ExpError = s.expError;
    ExpUnder = s.expUnder;
    ExpOver = s.expOver;
    ExpFixes = s.expFixes;
    ImpFixes = s.impFixes;
}

void QAppDlg::ToSettings(AppSettings& s) const
{
    s.resError = ResError;
    s.resUnder = ResUnder;
    s.resOver = ResOver;
    s.expFixFields = ExpFixFields;
    s.expSeparator = ExpSeparator;
    s.expIdLen = ExpIdLen;
    s.expResLen = ExpResLen;
    s.expFormat = ExpFormat;
    s.cellFixFields = CellFixFields;
    s.cellSeparator = CellSeparator;
    s.cellValLen = CellValLen;
    s.cellFormat = CellFormat;
    s.expError = ExpError;
    s.expUnder = ExpUnder;
    s.expOver = ExpOver;
    s.expFixes = ExpFixes;
    s.impFixes = ImpFixes;
}

bool QAppDlg::Checked(int id) const
{
    auto* b = dynamic_cast<TCheckBox*>(GetDlgItem(id));
    return b && b->GetCheck() == TCheckBox::BF_CHECKED;
}

void QAppDlg::Check(int id, bool on)
{
    if (auto* b = dynamic_cast<TCheckBox*>(GetDlgItem(id))) b->SetCheck(on ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
}

bool QAppDlg::Number(int id, int& value) const { return ShownWhole(GetDlgItemText(id), value); }

void QAppDlg::SetNumber(int id, int value) { SetDlgItemText(id, std::to_string(value)); }

std::string QAppDlg::SeparatorText(char c) const
{
    const char* at = c ? std::char_traits<char>::find(kSeparators, 7, c) : nullptr;
    if (!at) return {};
    return Limited(GetDlgItemText(900 + static_cast<int>(at - kSeparators)), 24);
}

void QAppDlg::ShowGroup(int page, bool show)
{
    if (page < 0 || page > 5) return;
    for (int id = kPageFirst[page] - 1; id <= kPageLast[page]; ++id)
        if (TWindow* w = GetDlgItem(id)) w->ShowWindow(show ? SW_SHOW : SW_HIDE);
    if (show) SetContextHelpId(3161 + page);
}

void QAppDlg::SetupWindow()
{
    settingUp_ = true;
    TDialog::SetupWindow();
    ExpIdLen = std::clamp(ExpIdLen, 1, 128);
    ExpResLen = std::clamp(ExpResLen, 1, 128);
    CellValLen = std::clamp(CellValLen, 1, 128);
    // The pages share the place of the first one.
    if (TWindow* ref = GetDlgItem(kPageFirst[0] - 1)) {
        const TRect r0 = ChildRectInClient(*ref);
        for (int page = 1; page < 6; ++page) {
            TWindow* frame = GetDlgItem(kPageFirst[page] - 1);
            if (!frame) continue;
            const TRect rf = ChildRectInClient(*frame);
            const int dx = r0.left - rf.left, dy = r0.top - rf.top;
            for (int id = kPageFirst[page] - 1; id <= kPageLast[page]; ++id)
                if (TWindow* w = GetDlgItem(id)) {
                    const TRect r = ChildRectInClient(*w);
                    w->ShowWindow(SW_HIDE);
                    if (dx || dy) w->MoveWindow(r.left + dx, r.top + dy, r.Width(), r.Height());
                }
        }
    }
    for (int id = 900; id <= 906; ++id)
        if (TWindow* w = GetDlgItem(id)) w->ShowWindow(SW_HIDE);

    Check(DecimalChar == ',' ? 203 : 202, true);
    SetDlgItemText(303, ResError);
    SetDlgItemText(305, ResUnder);
    SetDlgItemText(307, ResOver);
    Check(ExpFixFields ? 402 : 401, true);
    SetDlgItemText(403, SeparatorShown(ExpSeparator));
    SetNumber(406, ExpIdLen);
    SetNumber(409, ExpResLen);
    Check(412 + std::clamp(ExpFormat.mode, 0, 2), true);
    SetNumber(416, ExpFormat.decimals);
    SetNumber(419, ExpFormat.digits);
    Check(CellFixFields ? 502 : 501, true);
    SetDlgItemText(503, SeparatorShown(CellSeparator));
    SetNumber(506, CellValLen);
    Check(509 + std::clamp(CellFormat.mode, 0, 2), true);
    SetNumber(513, CellFormat.decimals);
    SetNumber(516, CellFormat.digits);
    SetDlgItemText(603, ExpError);
    SetDlgItemText(605, ExpUnder);
    SetDlgItemText(607, ExpOver);
    Check(ExpFixes ? 704 : 703, true);
    Check(ImpFixes ? 706 : 705, true);

    for (int page = 0; page < 5; ++page) ShowGroup(page, false);
    page_ = lastPage_ >= 0 ? lastPage_ : 0;
    Check(101 + page_, true);
    ShowGroup(page_, true);
    settingUp_ = false;
    Refresh();
}

void QAppDlg::CleanupWindow()
{
    lastPage_ = page_;
    TDialog::CleanupWindow();
}

void QAppDlg::PageButton(int page)
{
    if (page == page_) return;
    ShowGroup(page_, false);
    page_ = page;
    ShowGroup(page_, true);
    Refresh();
}

void QAppDlg::Refresh()
{
    if (settingUp_) return;
    if (page_ == 2) RefreshExport(400, ExpFormat);
    else if (page_ == 3) RefreshExport(500, CellFormat);
}

// One export page: base 400 for the results, 500 for the plate data.
void QAppDlg::RefreshExport(int base, QNumFormat format)
{
    const bool results = base == 400;
    const std::string sep = GetDlgItemText(base + 3);
    SetDlgItemText(base + 4, SeparatorText(sep.empty() ? '\0' : sep[0]));
    const bool width = Checked(base + 2);
    for (int id = base + 3; id <= base + 4; ++id)
        if (TWindow* w = GetDlgItem(id)) w->ShowWindow(width ? SW_HIDE : SW_SHOW);
    for (int id = base + 5; id <= base + (results ? 10 : 7); ++id)
        if (TWindow* w = GetDlgItem(id)) w->ShowWindow(width ? SW_SHOW : SW_HIDE);
    const int general = base + (results ? 12 : 9);
    const int decimals = general + 4, digits = general + 7, sample = general + 9;
    const bool isGeneral = Checked(general);
    for (int id = decimals - 1; id <= decimals + 1; ++id)
        if (TWindow* w = GetDlgItem(id)) w->ShowWindow(isGeneral ? SW_HIDE : SW_SHOW);
    int mode = 0;
    for (int i = 0; i < 3; ++i)
        if (Checked(general + i)) mode = i;
    format.SetMode(mode);
    // A text that is no whole number of the field's range shows the format's value: OK refuses
    // it, or keeps that value when the page hides the field.
    int count = 0;
    if (ReadTypedWhole(GetDlgItemText(decimals).c_str(), kFormatField.low, kFormatField.high, count) == tnNumber)
        format.SetDecimals(count);
    if (ReadTypedWhole(GetDlgItemText(digits).c_str(), kFormatField.low, kFormatField.high, count) == tnNumber)
        format.SetDigits(count);
    // The sample shows the decimal character chosen in this dialog, which the program takes
    // on only when the dialog is saved.
    const char programs = gDecimalChar;
    gDecimalChar = DecimalChar == ',' ? ',' : '.';
    const std::string shown = FormatDouble(kPi, format);
    gDecimalChar = programs;
    SetDlgItemText(sample, shown);
}

void QAppDlg::Spin(int editId, unsigned code, int low, int high)
{
    if (code != SB_LINEUP && code != SB_LINEDOWN) return;
    // A text that is no whole number is not stepped: it stays for OK to refuse.
    int value = 0;
    if (!Number(editId, value)) return;
    SetNumber(editId, std::clamp(value + (code == SB_LINEUP ? 1 : -1), low, high));
    if (auto* e = dynamic_cast<TEdit*>(GetDlgItem(editId))) {
        e->SetFocus();
        e->SetSelection(0, 32767);
    }
}

void QAppDlg::EvVScroll(unsigned code, unsigned pos, TWindow* control)
{
    switch (control ? control->GetId() : 0) {
    case 407: Spin(406, code, kWidthField.low, kWidthField.high); break;
    case 410: Spin(409, code, kWidthField.low, kWidthField.high); break;
    case 417: Spin(416, code, kFormatField.low, kFormatField.high); break;
    case 420: Spin(419, code, kFormatField.low, kFormatField.high); break;
    case 507: Spin(506, code, kWidthField.low, kWidthField.high); break;
    case 514: Spin(513, code, kFormatField.low, kFormatField.high); break;
    case 517: Spin(516, code, kFormatField.low, kFormatField.high); break;
    default: TDialog::EvVScroll(code, pos, control);
    }
}

void QAppDlg::CmOk()
{
    // The page of a refused edit is shown, its message given and the edit focused.
    auto refuse = [this](int page, int edit, const std::string& message) {
        Check(101 + page, true);
        for (int p = 0; p < 6; ++p)
            if (p != page) Check(101 + p, false);
        PageButton(page);
        MessageBox(this, message, GetWindowText(), MB_OK | MB_ICONEXCLAMATION);
        if (TWindow* e = GetDlgItem(edit)) e->SetFocus();
    };
    // A separator of no character would put NUL bytes into every exported line; one of a
    // letter beyond ASCII would store the first byte of its UTF-8 and cut every text there; a
    // digit or sign would split the exported numbers into other numbers.
    for (const auto& [edit, page] : {std::pair{403, 2}, std::pair{503, 3}}) {
        const std::string typed = GetDlgItemText(edit);
        if (typed.empty()) {
            refuse(page, edit, GetResString(kMsgNoSeparator));
            return;
        }
        const SeparatorFault fault = CheckSeparator(static_cast<unsigned char>(SeparatorTyped(typed)));
        if (fault == sfUsable) continue;
        const int message = fault == sfInNumbers ? kMsgSeparatorInNumbers : kMsgNotASeparator;
        refuse(page, edit, FormatWithArg(GetResString(message), CutUtf8(typed, 8).c_str()));
        return;
    }
    // Widths and format fields take whole numbers of their spin controls' ranges: a width of
    // -5 would make every export write empty fields, and "8.9" or "1e999" would silently
    // become another setting. A field its page hides (the widths under "Separator", the
    // decimals under "General") counts for nothing and cannot be mended there: it keeps its value.
    struct WholeEdit {
        int edit, page;
        WholeField field;
        bool hidden;
        int kept;
    };
    const WholeEdit edits[7] = {
        {406, 2, kWidthField, !Checked(402), ExpIdLen},          {409, 2, kWidthField, !Checked(402), ExpResLen},
        {416, 2, kFormatField, Checked(412), ExpFormat.decimals}, {419, 2, kFormatField, false, 0},
        {506, 3, kWidthField, !Checked(502), CellValLen},        {513, 3, kFormatField, Checked(509), CellFormat.decimals},
        {516, 3, kFormatField, false, 0}};
    int whole[7] = {};
    for (int i = 0; i < 7; ++i) {
        const WholeEdit& w = edits[i];
        const std::string typed = GetDlgItemText(w.edit);
        if (ReadTypedWhole(typed.c_str(), w.field.low, w.field.high, whole[i]) == tnNumber) continue;
        if (w.hidden) {
            whole[i] = w.kept;
            continue;
        }
        refuse(w.page, w.edit, NotAWholeNumberText(typed, w.field));
        if (auto* e = dynamic_cast<TEdit*>(GetDlgItem(w.edit))) e->SetSelection(0, 32767);
        return;
    }
    ResError = Limited(GetDlgItemText(303), 128);
    ResUnder = Limited(GetDlgItemText(305), 128);
    ResOver = Limited(GetDlgItemText(307), 128);
    ExpError = Limited(GetDlgItemText(603), 128);
    ExpUnder = Limited(GetDlgItemText(605), 128);
    ExpOver = Limited(GetDlgItemText(607), 128);
    ExpFixFields = Checked(402) ? 1 : 0;
    CellFixFields = Checked(502) ? 1 : 0;
    ExpSeparator = SeparatorTyped(GetDlgItemText(403));
    CellSeparator = SeparatorTyped(GetDlgItemText(503));
    ExpIdLen = whole[0];
    ExpResLen = whole[1];
    CellValLen = whole[4];
    for (int i = 0; i < 3; ++i) {
        if (Checked(412 + i)) ExpFormat.SetMode(i);
        if (Checked(509 + i)) CellFormat.SetMode(i);
    }
    ExpFormat.SetDecimals(whole[2]);
    ExpFormat.SetDigits(whole[3]);
    CellFormat.SetDecimals(whole[5]);
    CellFormat.SetDigits(whole[6]);
    ExpFixes = Checked(704) ? 1 : 0;
    ImpFixes = Checked(706) ? 1 : 0;
    // Values exported with the decimal character as their separator would read back as
    // other numbers.
    if (SeparatorIsDecimalChar(DecimalChar, ExpFixFields, ExpSeparator) ||
        SeparatorIsDecimalChar(DecimalChar, CellFixFields, CellSeparator)) {
        MessageBox(this, GetResString(1660), GetWindowText(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CloseWindow(IDOK);
}

}  // namespace vyn
