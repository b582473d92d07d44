#include "platform/gui/Clipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace vyn::Clipboard {

namespace {

QClipboard* Board()
{
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

}  // namespace

std::string FormatMimeType(const std::string& formatName) { return "application/x-vyn-" + formatName; }

bool SetText(const std::string& text)
{
    QClipboard* board = Board();
    if (!board) return false;
    board->setText(QString::fromStdString(text));
    return true;
}

bool GetText(std::string& text)
{
    text.clear();
    QClipboard* board = Board();
    if (!board) return false;
    const QMimeData* data = board->mimeData();
    if (!data || !data->hasText()) return false;
    text = data->text().toStdString();
    return true;
}

bool SetData(const std::string& formatName, const std::vector<std::uint8_t>& bytes)
{
    QClipboard* board = Board();
    if (!board) return false;
    auto* data = new QMimeData;
    data->setData(QString::fromStdString(FormatMimeType(formatName)),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    board->setMimeData(data);  // the clipboard owns it
    return true;
}

bool HasFormat(const std::string& formatName)
{
    QClipboard* board = Board();
    if (!board) return false;
    const QMimeData* data = board->mimeData();
    return data && data->hasFormat(QString::fromStdString(FormatMimeType(formatName)));
}

bool GetData(const std::string& formatName, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    if (!HasFormat(formatName)) return false;
    const QByteArray raw = Board()->mimeData()->data(QString::fromStdString(FormatMimeType(formatName)));
    bytes.assign(reinterpret_cast<const std::uint8_t*>(raw.constData()),
                 reinterpret_cast<const std::uint8_t*>(raw.constData()) + raw.size());
    return true;
}

void Clear()
{
    if (QClipboard* board = Board()) board->clear();
}

}  // namespace vyn::Clipboard
