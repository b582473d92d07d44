#include <QAbstractItemView>
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "platform/gui/ControlList.h"
#include "platform/gui/Dc.h"
#include "platform/gui/WindowBridge.h"

namespace vyn {

namespace {

class TOwnerDrawDelegate : public QStyledItemDelegate, public TWindowLink {
public:
    TOwnerDrawDelegate(TComboBox* box, QObject* parent) : QStyledItemDelegate(parent), box_(box) {}
    void Detach() override { box_ = nullptr; }
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override
    {
        if (!box_) return;
        QImage img(opt.rect.right() + 1, opt.rect.height(), QImage::Format_RGB32);
        img.fill(Qt::white);
        unsigned state = 0;
        if (opt.state & QStyle::State_Selected) state |= ODS_SELECTED;
        if (opt.state & QStyle::State_HasFocus) state |= ODS_FOCUS;
        // List items start at x = 0 in the list's client area, as the owner expects.
        box_->PaintItem(img, index.row(), TRect(0, 0, opt.rect.width(), opt.rect.height()), state);
        p->drawImage(opt.rect.topLeft(), img, QRect(0, 0, opt.rect.width(), opt.rect.height()));
    }
    QSize sizeHint(const QStyleOptionViewItem& opt, const QModelIndex& index) const override
    {
        if (!box_) return QStyledItemDelegate::sizeHint(opt, index);
        return QSize(opt.rect.width(), box_->GetItemHeight(index.row()));
    }

private:
    TComboBox* box_;
};

class TQtCombo : public QComboBox, public TWindowLink {
public:
    TQtCombo(TComboBox* box, QWidget* parent) : QComboBox(parent), box_(box) {}
    void Detach() override { box_ = nullptr; }
    void showPopup() override
    {
        QComboBox::showPopup();
        if (box_) box_->OnListShown(true);
    }
    void hidePopup() override
    {
        QComboBox::hidePopup();
        if (box_) box_->OnListShown(false);
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        if (!box_ || !box_->IsOwnerDrawn()) {
            QComboBox::paintEvent(e);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        opt.currentText.clear();
        opt.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, opt);
        QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        QImage img(width(), height(), QImage::Format_RGB32);
        img.fill(Qt::white);
        unsigned state = ODS_COMBOBOXEDIT | (hasFocus() ? ODS_FOCUS | ODS_SELECTED : 0);
        TRect r(field.left(), field.top(), field.left() + field.width(), field.top() + field.height());
        box_->PaintItem(img, currentIndex(), r, state);
        painter.drawImage(field.topLeft(), img, field);
    }

private:
    TComboBox* box_;
};

}  // namespace

TComboBox::TComboBox(TWindow* parent, int resourceId) : TControl(parent, resourceId) {}

TComboBox::TComboBox(TWindow* parent, int id, int x, int y, int w, int h, unsigned style)
    : TControl(parent, id, {}, x, y, w, h, style), dropHeight_(h)
{
}

QWidget* TComboBox::MakeControl(QWidget* parentWidget)
{
    auto* c = new TQtCombo(this, parentWidget);
    if (dropHeight_ == 0) dropHeight_ = rect_.Height();
    if (fieldHeight_ == 0) fieldHeight_ = std::min(rect_.Height(), c->sizeHint().height());
    if (itemHeight_ == 0) itemHeight_ = fieldHeight_;
    if (IsOwnerDrawn()) c->setItemDelegate(new TOwnerDrawDelegate(this, c));
    if (IsEditable()) {
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
    }
    for (const auto& it : items_) c->addItem(QString::fromStdString(it.text));
    c->setCurrentIndex(sel_);
    if (IsEditable()) c->setEditText(QString::fromStdString(text_));
    QObject::connect(c, &QComboBox::currentIndexChanged, c, [this](int) {
        if (!programSelect_) OnUserSelChange();
    });
    // Moving through the open list changes the selection at every step.
    QObject::connect(c, &QComboBox::highlighted, c, [this, c](int index) {
        if (c->view()->isVisible() && index != c->currentIndex()) c->setCurrentIndex(index);
    });
    rect_.bottom = rect_.top + fieldHeight_;
    return c;
}

void TComboBox::OnUserSelChange()
{
    auto* c = static_cast<QComboBox*>(Widget());
    sel_ = c->currentIndex();
    NotifyAtChild(CBN_SELCHANGE);
}

void TComboBox::OnListShown(bool shown) { NotifyAtChild(shown ? CBN_DROPDOWN : CBN_CLOSEUP); }

int TComboBox::AddString(const std::string& text)
{
    items_.push_back({text, 0});
    if (auto* c = static_cast<QComboBox*>(Widget())) {
        programSelect_ = true;
        c->addItem(QString::fromStdString(text));
        c->setCurrentIndex(sel_);
        programSelect_ = false;
    }
    return GetCount() - 1;
}

int TComboBox::AddItemData(std::uintptr_t data)
{
    int i = AddString({});
    items_[static_cast<size_t>(i)].data = data;
    return i;
}

void TComboBox::ClearList()
{
    items_.clear();
    sel_ = -1;
    if (auto* c = static_cast<QComboBox*>(Widget())) {
        programSelect_ = true;
        c->clear();
        programSelect_ = false;
    }
}

std::string TComboBox::GetString(int index) const
{
    return index >= 0 && index < GetCount() ? items_[static_cast<size_t>(index)].text : std::string();
}

std::uintptr_t TComboBox::GetItemData(int index) const
{
    return index >= 0 && index < GetCount() ? items_[static_cast<size_t>(index)].data : 0;
}

int TComboBox::GetSelIndex() const { return sel_; }

int TComboBox::SetSelIndex(int index)
{
    sel_ = index >= 0 && index < GetCount() ? index : -1;
    if (auto* c = static_cast<QComboBox*>(Widget())) {
        programSelect_ = true;
        c->setCurrentIndex(sel_);
        programSelect_ = false;
    }
    return sel_ < 0 && index != -1 ? CB_ERR : sel_;
}

int TComboBox::GetItemHeight(int index) const { return index == -1 ? fieldHeight_ : itemHeight_; }

bool TComboBox::SetItemHeight(int index, int height)
{
    if (height <= 0 || height > 255) return false;
    if (index == -1) {
        fieldHeight_ = height;
        // The control shows the field and its frame; the list drops below it.
        if (Widget()) Widget()->setFixedHeight(height + 6);
    } else {
        itemHeight_ = height;
        if (auto* c = static_cast<QComboBox*>(Widget())) c->view()->doItemsLayout();
    }
    return true;
}

void TComboBox::ShowList(bool show)
{
    if (auto* c = static_cast<QComboBox*>(Widget())) show ? c->showPopup() : c->hidePopup();
}

bool TComboBox::GetDroppedState() const
{
    auto* c = static_cast<QComboBox*>(Widget());
    return c && c->view()->isVisible();
}

TRect TComboBox::GetDroppedControlRect() const
{
    TRect w = GetWindowRect();
    return TRect(w.left, w.top, w.right, w.top + dropHeight_);
}

bool TComboBox::SetWindowPos(TWindow* insertAfter, int x, int y, int cx, int cy, unsigned flags)
{
    // The framework's height of a drop-down combo box is that of the control with its list.
    if (!(flags & SWP_NOSIZE)) {
        dropHeight_ = cy;
        if (itemHeight_ > 0 && Widget())
            static_cast<QComboBox*>(Widget())->setMaxVisibleItems(std::max(1, (cy - fieldHeight_) / itemHeight_));
        cy = Widget() ? Widget()->height() : cy;
    }
    return TControl::SetWindowPos(insertAfter, x, y, cx, cy, flags);
}

std::string TComboBox::WidgetText() const
{
    if (IsEditable())
        if (auto* c = static_cast<QComboBox*>(Widget())) return c->currentText().toStdString();
    return sel_ >= 0 ? GetString(sel_) : std::string();
}

void TComboBox::SetWidgetText(const std::string& text)
{
    if (!IsEditable()) return;
    if (auto* c = static_cast<QComboBox*>(Widget())) {
        programSelect_ = true;
        const int i = c->findText(QString::fromStdString(text));
        sel_ = i;
        c->setCurrentIndex(i);
        c->setEditText(QString::fromStdString(text));
        programSelect_ = false;
    }
}

void TComboBox::PaintItem(QImage& image, int index, const TRect& rect, unsigned state)
{
    TDC dc(image);
    dc.SelectObject(TFont());  // the control's font, not the bold system font of a bare DC
    TDrawItem item{static_cast<unsigned>(GetId()), index < GetCount() ? index : -1, ODA_DRAWENTIRE, state, dc, rect,
                   GetItemData(index)};
    DrawItem(item);
}

void TComboBox::DrawItem(TDrawItem& item)
{
    item.dc.FillRect(item.rcItem, TBrush(item.itemState & ODS_SELECTED ? TColor(0, 0, 128) : TColor::White));
    item.dc.SetTextColor(item.itemState & ODS_SELECTED ? TColor::White : TColor::Black);
    item.dc.SetBkMode(TRANSPARENT);
    item.dc.TextOut(item.rcItem.left + 2, item.rcItem.top, GetString(item.itemId));
}

void TComboBox::MeasureItem(TMeasureItem&) {}

}  // namespace vyn
