#include "launch/exe_path_file.h"

#include "core/data_file.h"
#include "core/field_reader.h"
#include "core/field_writer.h"
#include "core/local_text.h"

namespace kelvor {
namespace {

// Enough bytes for the longest path in any encoding, with room for blanks and quotes. The
// rest of the file is never needed: only its first field counts.
constexpr qint64 kReadLimit = 4 * kMaxExePathLength + 1024;

}  // namespace

std::optional<QString> ReadExePath(const QString& file) {
  const std::optional<QByteArray> bytes = ReadDataFile(file, kReadLimit);
  std::optional<QString> path = bytes ? ParseExePath(*bytes) : std::nullopt;
  if (!path) KeepCopy(file);
  return path;
}

std::optional<QString> ParseExePath(QByteArrayView bytes) {
  const std::optional<QByteArrayView> field = FieldReader(bytes).ReadField();
  if (!field) return std::nullopt;
  std::optional<QString> path = DecodeLocalText(*field);
  if (!path || path->size() > kMaxExePathLength) return std::nullopt;
  return path;
}

bool SaveExePath(const QString& file, const QString& pathText) {
  const std::optional<QByteArray> line = EncodeFieldLine(pathText);
  return line && ReplaceDataFile(file, *line);
}

}  // namespace kelvor
