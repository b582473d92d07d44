#include "platform/gui/ControlListBox.h"

#include <QListWidget>
#include <algorithm>

namespace vyn {

namespace {

std::string Lower(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace

int TListBox::AddString(const std::string& text)
{
    int at = GetCount();
    if (style_ & dlgstyle::SORT) {
        std::string key = Lower(text);
        auto it = std::upper_bound(items_.begin(), items_.end(), key, [](const std::string& k, const std::string& item) { return k < Lower(item); });
        at = static_cast<int>(it - items_.begin());
    }
    items_.insert(items_.begin() + at, text);
    if (sel_ >= at) ++sel_;
    Refill();
    return at;
}

void TListBox::ClearList()
{
    items_.clear();
    sel_ = -1;
    Refill();
}

std::string TListBox::GetString(int index) const
{
    return index >= 0 && index < GetCount() ? items_[static_cast<std::size_t>(index)] : std::string();
}

int TListBox::SetSelIndex(int index)
{
    sel_ = index >= 0 && index < GetCount() ? index : -1;
    if (auto* l = static_cast<QListWidget*>(Widget())) {
        programSelect_ = true;
        l->setCurrentRow(sel_);
        if (sel_ < 0) l->clearSelection();
        programSelect_ = false;
    }
    return sel_ < 0 ? LB_ERR : sel_;
}

int TListBox::FindStringExact(const std::string& text, int start) const
{
    std::string key = Lower(text);
    for (int i = start + 1; i < GetCount(); ++i)
        if (Lower(items_[static_cast<std::size_t>(i)]) == key) return i;
    return LB_ERR;
}

void TListBox::UserSelect(int index)
{
    SetSelIndex(index);
    NotifyParent(LBN_SELCHANGE);
}

void TListBox::UserDoubleClick(int index)
{
    UserSelect(index);
    NotifyParent(LBN_DBLCLK);
}

QWidget* TListBox::MakeControl(QWidget* parentWidget)
{
    auto* l = new QListWidget(parentWidget);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setFrameShape((style_ & dlgstyle::BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
    QObject::connect(l, &QListWidget::currentRowChanged, l, [this](int row) {
        if (programSelect_) return;
        sel_ = row;
        NotifyParent(LBN_SELCHANGE);
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, l, [this](QListWidgetItem*) { NotifyParent(LBN_DBLCLK); });
    programSelect_ = true;
    for (const std::string& s : items_) l->addItem(QString::fromStdString(s));
    l->setCurrentRow(sel_);
    programSelect_ = false;
    return l;
}

void TListBox::Refill()
{
    auto* l = static_cast<QListWidget*>(Widget());
    if (!l) return;
    programSelect_ = true;
    l->clear();
    for (const std::string& s : items_) l->addItem(QString::fromStdString(s));
    l->setCurrentRow(sel_);
    programSelect_ = false;
}

std::string TListBox::WidgetText() const { return GetString(sel_); }

}  // namespace vyn
