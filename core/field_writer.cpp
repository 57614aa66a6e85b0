#include "core/field_writer.h"

#include "core/local_text.h"

namespace kelvor {
namespace {

bool NeedsQuotes(const QString& text) {
  return text.contains(u',') || text.startsWith(u' ') || text.startsWith(u'\t');
}

}  // namespace

std::optional<QByteArray> EncodeFieldLine(const QString& text) {
  std::optional<QByteArray> bytes = EncodeLocalText(text);
  if (!bytes) return std::nullopt;
  if (NeedsQuotes(text)) {
    bytes->prepend('"');
    bytes->append('"');
  }
  bytes->append("\r\n");
  return bytes;
}

}  // namespace kelvor
