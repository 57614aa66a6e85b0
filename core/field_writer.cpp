#include "core/field_writer.h"

#include "core/local_text.h"

namespace kelvor {
namespace {

bool NeedsQuotes(const QString& text) {
  return text.contains(u',') || text.startsWith(u' ') || text.startsWith(u'\t');
}

bool NeedsQuotes(QByteArrayView ascii) {
  return ascii.contains(',') || ascii.startsWith(' ') || ascii.startsWith('\t');
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

void AppendAsciiFieldLine(QByteArray& content, QByteArrayView ascii) {
  const bool quoted = NeedsQuotes(ascii);
  if (quoted) content.append('"');
  content.append(ascii);
  if (quoted) content.append('"');
  content.append("\r\n");
}

}  // namespace kelvor
