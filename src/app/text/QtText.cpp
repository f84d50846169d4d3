// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/text/QtText.h"

namespace torvane {

QString BytesToQString(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (char b : bytes) *out++ = QChar(static_cast<char16_t>(Windows1252ToUnicode(static_cast<unsigned char>(b))));
  return text;
}

std::string QStringToBytes(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    // A surrogate pair is one character outside the code page: one "?".
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      bytes += '?';
      ++i;
      continue;
    }
    const int b = UnicodeToWindows1252(text[i].unicode());
    bytes += b < 0 ? '?' : static_cast<char>(b);
  }
  return bytes;
}

QString BytesToQString(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::UTF8)
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return BytesToQString(bytes);
}

std::string QStringToBytes(const QString& text, TextEncoding encoding) {
  if (encoding == TextEncoding::UTF8) return text.toStdString();
  return QStringToBytes(text);
}

QString Representable(const QString& text, TextEncoding encoding) {
  return BytesToQString(QStringToBytes(text, encoding), encoding);
}

}  // namespace torvane
