#include "method_editors/CtxWzDlg.h"

#include "controls/QGEdit.h"
#include "method_editors/OperatorPalette.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlListBox.h"

namespace vyn {

namespace {

CtxContext sContext;
TPoint sLastPosition(-1, -1);
bool sHasPosition = false;

constexpr char kOperators[] = "*/+-(),?:|&=<>![]{}";
// How much of the caller's text decides whether it counts as empty.
constexpr std::size_t kLookAhead = 15;

// The edit's positions count UTF-16 units; the text is UTF-8.
std::size_t ByteOffset(const std::string& text, int units)
{
    std::size_t i = 0;
    while (i < text.size() && units > 0) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        units -= len == 4 ? 2 : 1;
        i += len;
    }
    return std::min(i, text.size());
}

int Units(const std::string& text)
{
    int units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80) units += c >= 0xF0 ? 2 : 1;
    }
    return units;
}

}  // namespace

void CtxWzDlg::SetContext(int context, int second, const QPlate* plate, int fourth, const TwostrArray* calculations,
                          const TwostrArray* validations, const TwostrArray* evaluations, const void* eighth)
{
    sContext = CtxContext{context, second, plate, fourth, calculations, validations, evaluations, eighth};
}

const CtxContext& CtxWzDlg::Context() { return sContext; }

void CtxWzDlg::ForgetPosition() { sHasPosition = false; }

CtxWzDlg::CtxWzDlg(TWindow* parent, bool startWithEq)
    : TDialog(parent, kResId),
      categoryList_(new TListBox(this, 101)),
      itemList_(new TListBox(this, 102)),
      insertText_(new TEdit(this, 107, static_cast<int>(kMaxInsert) + 1)),
      helpText_(new TEdit(this, 105)),
      palette_(new QOperWin(this, 106, kOperators)),
      startWithEq_(startWithEq)
{
    SetContextHelpId(3320);
    OnNotify(101, LBN_SELCHANGE, [this] { CategorySelected(); });
    OnNotify(102, LBN_SELCHANGE, [this] { Update(); });
    OnNotify(107, EN_CHANGE, [this] {
        if (TWindow* b = GetDlgItem(IDOK)) b->EnableWindow(!insertText_->GetWindowText().empty());
    });
    OnNotify(107, EN_SETFOCUS, [this] { lastFocus_ = insertText_; });
    // The text to be inserted stands out from the help text in dark blue.
    insertText_->SetColors(TColor(0, 0, 128), TColor(255, 255, 255));
}

CtxWzDlg::~CtxWzDlg() { categories_.clear(); }

void CtxWzDlg::SetupWindow()
{
    TDialog::SetupWindow();
    palette_->ShowWindow(SW_SHOW);
    if (sHasPosition) SetWindowPos(nullptr, sLastPosition.x, sLastPosition.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    categories_ = MakeContextCategories(sContext);
    for (const auto& c : categories_) categoryList_->AddString(c->Name());
    CategorySelected();
}

void CtxWzDlg::CleanupWindow()
{
    const TRect r = GetWindowRect();
    sLastPosition = TPoint(r.left, r.top);
    sHasPosition = true;
    TDialog::CleanupWindow();
}

void CtxWzDlg::CategorySelected()
{
    itemList_->ClearList();
    const int c = categoryList_->GetSelIndex();
    if (c >= 0 && c < CategoryCount()) {
        const QCtxCategory& cat = Category(c);
        for (int i = 0; i < cat.ItemCount(); ++i) itemList_->AddString(cat.ItemLine(i));
        itemList_->SetSelIndex(-1);
    }
    Update();
}

void CtxWzDlg::Update()
{
    const int c = categoryList_->GetSelIndex();
    const int i = itemList_->GetSelIndex();
    std::string insert, help;
    bool canInsert = false, more = false;
    if (c >= 0 && c < CategoryCount()) {
        const QCtxCategory& cat = Category(c);
        if (i >= 0 && i < cat.ItemCount()) {
            insert = cat.ItemInsert(i);
            help = cat.ItemHelp(i);
            canInsert = true;
            more = cat.DefaultItem(i) >= 0;
        } else {
            help = cat.Description();
        }
    }
    insertText_->SetWindowText(insert);
    helpText_->SetWindowText(help);
    if (TWindow* b = GetDlgItem(IDOK)) b->EnableWindow(canInsert);
    if (TWindow* b = GetDlgItem(104)) b->EnableWindow(more);
}

void CtxWzDlg::CmOk()
{
    const std::string text = CutUtf8(insertText_->GetWindowText(), kMaxInsert);
    if (text.empty()) return;
    TWindow* button = GetDlgItem(IDOK);
    const bool focusOnButton = button && button->HasFocus();
    InsertIntoCaller(text);
    if (focusOnButton) (lastFocus_ ? lastFocus_ : itemList_)->SetFocus();
    insertText_->Clear();
}

void CtxWzDlg::InsertIntoCaller(const std::string& text)
{
    auto* edit = dynamic_cast<TEdit*>(GetParent());
    if (!edit) return;
    edit->SetFocus();
    const std::string old = edit->GetWindowText();
    const std::string head = old.substr(0, ByteOffset(old, static_cast<int>(kLookAhead)));
    std::string now;
    int caret;
    if (head.find_first_not_of(' ') != std::string::npos) {
        int start = 0, end = 0;
        edit->GetSelection(start, end);
        const std::size_t a = ByteOffset(old, start), b = ByteOffset(old, end);
        const std::string added = " " + text;
        now = old.substr(0, a) + added + old.substr(b);
        caret = start + Units(added);
    } else {
        now = (startWithEq_ ? "=" : "") + text;
        caret = Units(now);
    }
    edit->SetWindowText(now);
    edit->SetSelection(caret, caret);
    // Setting the text counts as the program's; the insertion is the user's change.
    edit->SetModify(true);
}

TResult CtxWzDlg::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    if (id == 106 && (notifyCode & 0xFF00) == QOperWin::kCharCode) {
        InsertIntoCaller(std::string(1, static_cast<char>(notifyCode & 0x7F)));
        return 0;
    }
    return TDialog::EvCommand(id, control, notifyCode);
}

void CtxWzDlg::EvMouseMove(unsigned modKeys, const TPoint& p)
{
    TDialog::EvMouseMove(modKeys, p);
    // Over the dialog itself the mouse is off the palette.
    palette_->TrackMouse(false, TPoint());
}

void RunExpressionWizard(TEdit& edit, int context, const QPlate* plate, const TwostrArray* calculations,
                         const TwostrArray* validations, const TwostrArray* evaluations, bool startWithEq)
{
    CtxWzDlg::SetContext(context, 0, plate, 0, calculations, validations, evaluations, nullptr);
    CtxWzDlg dlg(&edit, startWithEq);
    dlg.Execute();
}

void InstallExpressionWizard() { QGEdit::SetExpressionWizard(&RunExpressionWizard); }

namespace {
// Every program that links the wizard offers it in its edits from the start.
const bool sInstalled = (InstallExpressionWizard(), true);
}  // namespace

}  // namespace vyn
