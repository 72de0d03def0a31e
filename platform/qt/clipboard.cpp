#include "platform/qt/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace qtfw {

namespace {

QClipboard* SystemClipboard() { return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr; }

}  // namespace

bool TQtClipboard::HasText() {
  QClipboard* cb = SystemClipboard();
  if (!cb) return false;
  const QMimeData* data = cb->mimeData();
  return data && data->hasText();
}

std::string TQtClipboard::Text() {
  if (!HasText()) return {};
  return SystemClipboard()->text().toStdString();
}

void TQtClipboard::SetText(const std::string& text) {
  if (QClipboard* cb = SystemClipboard()) cb->setText(QString::fromStdString(text));
}

void TQtClipboard::Clear() {
  if (QClipboard* cb = SystemClipboard()) cb->clear();
}

}  // namespace qtfw
