#include "core/field_writer.h"

#include "core/field_reader.h"
#include "core/local_text.h"

namespace kelvor {

std::optional<QByteArray> EncodeFieldLine(const QString& text) {
  if (text.contains(u'\r') || text.contains(u'\n')) return std::nullopt;
  std::optional<QByteArray> bytes = EncodeLocalText(text);
  if (!bytes) return std::nullopt;
  const bool quoted = text.contains(u',') || text.startsWith(u' ') || text.startsWith(u'\t') ||
                      bytes->startsWith(kByteOrderMark);
  if (quoted ? text.contains(u'"') : text.startsWith(u'"')) return std::nullopt;
  if (quoted) {
    bytes->prepend('"');
    bytes->append('"');
  }
  bytes->append("\r\n");
  return bytes;
}

}  // namespace kelvor
