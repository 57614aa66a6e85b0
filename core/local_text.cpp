#include "core/local_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kelvor {

std::optional<QString> DecodeLocalText(QByteArrayView bytes) {
  if (bytes.contains('\0')) return std::nullopt;
  QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  return text;
}

std::optional<QByteArray> EncodeLocalText(const QString& text) {
  QStringEncoder encoder(QStringConverter::System, QStringConverter::Flag::Stateless);
  QByteArray bytes = encoder.encode(text);
  if (encoder.hasError()) return std::nullopt;
  return bytes;
}

}  // namespace kelvor
