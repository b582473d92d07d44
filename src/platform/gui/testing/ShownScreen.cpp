#include "platform/gui/testing/ShownScreen.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMdiSubWindow>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QTextItem>
#include <QToolTip>
#include <QWindow>
#include <algorithm>

#include "platform/gui/DcTextRecord.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/Window.h"

namespace vyn {

namespace {

// A paint engine that draws nothing and notes every run of text with where it lands. Qt's
// widgets give it their texts directly; our windows draw theirs into their own images (noted by
// the DC's record) and then put the image on the painter, which places those runs.
class TTextRecorder : public QPaintEngine {
public:
    TTextRecorder() : QPaintEngine(QPaintEngine::AllFeatures) {}
    std::vector<TShownText> texts;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & QPaintEngine::DirtyTransform) xf_ = state.transform();
    }
    void drawTextItem(const QPointF& p, const QTextItem& ti) override
    {
        const QRectF r(p.x(), p.y() - ti.ascent(), ti.width(), ti.ascent() + ti.descent());
        Note(ti.text().toStdString(), xf_.mapRect(r).toAlignedRect());
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override
    {
        const QPointF shift = r.topLeft() - sr.topLeft();
        for (const TTextRun& t : RecordedTextRuns(image)) {
            const QRectF at = QRectF(t.rect.left, t.rect.top, t.rect.Width(), t.rect.Height()).translated(shift);
            if (at.intersects(r)) Note(t.text, xf_.mapRect(at & r).toAlignedRect());
        }
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTiledPixmap(const QRectF&, const QPixmap&, const QPointF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath&) override {}
    void drawRects(const QRectF*, int) override {}
    void drawRects(const QRect*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawLines(const QLine*, int) override {}
    void drawEllipse(const QRectF&) override {}
    void drawPoints(const QPointF*, int) override {}

private:
    // A text drawn twice on one spot (a shadow, a repaint) shows once.
    void Note(const std::string& text, const QRect& at)
    {
        if (QString::fromStdString(text).trimmed().isEmpty()) return;
        for (const TShownText& t : texts)
            if (t.text == text && t.rect.intersects(at)) return;
        // Pieces drawn one after another on one line (a marked mnemonic letter, then the rest)
        // read as one text.
        if (!texts.empty()) {
            TShownText& last = texts.back();
            if (last.rect.top() == at.top() && last.rect.height() == at.height() &&
                std::abs(at.left() - (last.rect.right() + 1)) <= 1) {
                last.text += text;
                last.rect |= at;
                return;
            }
        }
        texts.push_back({text, at});
    }
    QTransform xf_;
};

class TTextRecordingDevice : public QPaintDevice {
public:
    explicit TTextRecordingDevice(QSize size) : size_(size) {}
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable TTextRecorder engine;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmWidthMM: return size_.width() * 254 / 960;
        case PdmHeightMM: return size_.height() * 254 / 960;
        case PdmNumColors: return 0x7FFFFFFF;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    QSize size_;
};

}  // namespace

std::vector<TShownText> ShownTexts(QWidget* widget)
{
    if (!widget || !widget->isVisible()) return {};
    TTextRecordingDevice device(widget->size());
    TTextRecorder& rec = device.engine;
    // Our windows keep their pictures and paint only what was invalidated; painted whole once
    // more while the DCs note their texts, they show what they show now.
    RecordTextRuns(true);
    QList<QWidget*> all = widget->findChildren<QWidget*>();
    all.prepend(widget);
    for (QWidget* w : all)
        if (TWindow* t = TWindow::FromWidget(w); t && t->Widget() == w && w->isVisible()) t->Invalidate(true);
    widget->render(&device, QPoint(), QRegion(), QWidget::DrawChildren);
    RecordTextRuns(false);
    std::vector<TShownText> out = std::move(rec.texts);
    std::stable_sort(out.begin(), out.end(), [](const TShownText& a, const TShownText& b) {
        // Runs whose middles lie on one line read left to right.
        if (std::abs(a.rect.center().y() - b.rect.center().y()) > std::min(a.rect.height(), b.rect.height()) / 2)
            return a.rect.center().y() < b.rect.center().y();
        return a.rect.left() < b.rect.left();
    });
    return out;
}

std::vector<TShownText> ShownTexts(TWindow& window) { return ShownTexts(window.Widget()); }

std::vector<std::string> ShownLines(QWidget* widget)
{
    std::vector<std::string> lines;
    int lineTop = 0, lineBottom = -1;
    for (const TShownText& t : ShownTexts(widget)) {
        const int mid = t.rect.center().y();
        if (!lines.empty() && mid >= lineTop && mid <= lineBottom) {
            lines.back() += "\t" + t.text;
            continue;
        }
        lines.push_back(t.text);
        lineTop = t.rect.top();
        lineBottom = t.rect.bottom();
    }
    return lines;
}

bool ShowsText(QWidget* widget, const std::string& text, bool whole)
{
    for (const TShownText& t : ShownTexts(widget))
        if (whole ? t.text == text : t.text.find(text) != std::string::npos) return true;
    return false;
}

std::string ShownCaption(TWindow& frame)
{
    QWidget* w = frame.Widget();
    if (!w) return {};
    QMdiSubWindow* sub = nullptr;
    for (QWidget* p = w; p && !sub; p = p->parentWidget()) sub = qobject_cast<QMdiSubWindow*>(p);
    // A maximised child has no title bar of its own; the window system's title carries it.
    if (!sub || sub->isMaximized()) {
        QWindow* handle = w->window()->windowHandle();
        return handle ? handle->title().toStdString() : std::string();
    }
    const int titleBottom = sub->widget() ? sub->widget()->geometry().top() : sub->height();
    std::string caption;
    for (const TShownText& t : ShownTexts(sub))
        if (t.rect.center().y() < titleBottom) caption += caption.empty() ? t.text : " " + t.text;
    return caption;
}

std::string ButtonFaceText(TWindow& button)
{
    std::string face;
    for (const TShownText& t : ShownTexts(button)) face += face.empty() ? t.text : " " + t.text;
    return face;
}

QImage GrabPicture(QWidget* widget, QRect rect)
{
    if (!widget) return {};
    return widget->grab(rect.isNull() ? QRect(QPoint(0, 0), QSize(-1, -1)) : rect).toImage();
}

QImage GrabPicture(TWindow& window, QRect rect) { return GrabPicture(window.Widget(), rect); }

bool ShowsPicture(TWindow& window, const TBitmap& picture)
{
    if (picture.IsNull()) return false;
    const QImage shown = GrabPicture(window).convertToFormat(QImage::Format_RGB32);
    const QImage want = picture.Image()->convertToFormat(QImage::Format_RGB32);
    for (int y0 = 0; y0 + want.height() <= shown.height(); ++y0)
        for (int x0 = 0; x0 + want.width() <= shown.width(); ++x0) {
            bool same = true;
            for (int y = 0; y < want.height() && same; ++y)
                for (int x = 0; x < want.width() && same; ++x)
                    same = (shown.pixel(x0 + x, y0 + y) & 0xFFFFFF) == (want.pixel(x, y) & 0xFFFFFF);
            if (same) return true;
        }
    return false;
}

std::string ShownToolTip() { return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string(); }

std::string StatusLineText(TStatusBar& bar)
{
    TGadget* field = bar.FirstGadget();
    if (!field) return {};
    const TRect& b = field->GetBounds();
    const QRect area(QPoint(b.left, b.top), QPoint(b.right - 1, b.bottom - 1));
    std::string text;
    for (const TShownText& t : ShownTexts(bar))
        if (area.contains(t.rect.center())) text += text.empty() ? t.text : " " + t.text;
    return text;
}

std::vector<std::string> ListRows(TWindow& list)
{
    QWidget* w = list.Widget();
    if (auto* view = qobject_cast<QAbstractItemView*>(w)) return ShownLines(view->viewport());
    return ShownLines(w);
}

bool ShownOnScreen(QWidget* widget)
{
    if (!widget || !widget->isVisible()) return false;
    QWindow* handle = widget->window()->windowHandle();
    return handle && handle->isExposed() && !widget->visibleRegion().isEmpty();
}

bool ShownOnScreen(TWindow& window) { return ShownOnScreen(window.Widget()); }

}  // namespace vyn
