#include "core/local_text.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace kelvor {

namespace {

// ASCII other than NUL, which no data file holds.
bool IsPlainAsciiCode(unsigned code) { return code != 0 && code < 0x80; }

// Text that every code page spells alike.
bool IsPlainAscii(QByteArrayView bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char c) { return IsPlainAsciiCode(static_cast<unsigned char>(c)); });
}

bool IsPlainAscii(QStringView text) {
  return std::all_of(text.begin(), text.end(),
                     [](QChar c) { return IsPlainAsciiCode(c.unicode()); });
}

}  // namespace

std::optional<QString> DecodeLocalText(QByteArrayView bytes) {
  // Most names and paths are plain ASCII, which needs no decoder.
  if (IsPlainAscii(bytes)) return QString::fromLatin1(bytes);
  if (bytes.contains('\0')) return std::nullopt;
  // A byte order mark is text like any other: dropping it would change the name or path.
  QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  return text;
}

std::optional<QByteArray> EncodeLocalText(const QString& text) {
  // Again, plain ASCII needs no encoder; a list of a million names is saved many times faster.
  if (IsPlainAscii(text)) return text.toLatin1();
  QStringEncoder encoder(QStringConverter::System, QStringConverter::Flag::Stateless);
  QByteArray bytes = encoder.encode(text);
  // Windows' ANSI code pages put a stand-in such as '?' where a character is missing and say
  // nothing: only bytes that read back as the same text are taken.
  if (encoder.hasError() || DecodeLocalText(bytes) != text) return std::nullopt;
  return bytes;
}

}  // namespace kelvor
