#include "melody_ui/qt_column_clipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

#include "melody/column_clip.h"

namespace pendra2::melody_ui {
namespace {

QString MimeType() {
  return QString::fromLatin1(melody::kColumnsMimeType.data(),
                             static_cast<qsizetype>(melody::kColumnsMimeType.size()));
}

}  // namespace

void QtColumnClipboard::Put(std::span<const uint8_t> columns, std::string_view text) {
  auto data = std::make_unique<QMimeData>();
  data->setData(MimeType(), QByteArray(reinterpret_cast<const char*>(columns.data()),
                                       static_cast<qsizetype>(columns.size())));
  data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  // The clipboard owns what it is given.
  QGuiApplication::clipboard()->setMimeData(data.release());
}

bool QtColumnClipboard::HoldsColumns() const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasFormat(MimeType());
}

std::optional<std::vector<uint8_t>> QtColumnClipboard::Columns() const {
  if (!HoldsColumns()) return std::nullopt;
  const QByteArray bytes = QGuiApplication::clipboard()->mimeData()->data(MimeType());
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace pendra2::melody_ui
