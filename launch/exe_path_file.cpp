#include "launch/exe_path_file.h"

#include "core/data_file.h"
#include "core/field_reader.h"
#include "core/field_writer.h"
#include "core/local_text.h"

namespace kelvor {
namespace {

// Room for the longest path in any encoding, and for whatever lines a player added after it
// (only the first field counts). A larger file is no path file.
constexpr qint64 kMaxExePathFileBytes = qint64{1} << 20;

}  // namespace

std::optional<QString> ReadExePath(const QString& file) {
  const std::optional<QByteArray> bytes = ReadDataFile(file, kMaxExePathFileBytes);
  std::optional<QString> path = bytes ? ParseExePath(*bytes) : std::nullopt;
  if (bytes && !path) {
    LogFileFailure("Reading", file,
                   QStringLiteral("it holds no path: it is empty, or its first line is no text in "
                                  "the system's code page or is over %1 characters")
                       .arg(kMaxExePathLength));
  }
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
  const std::optional<QByteArray> line =
      pathText.size() <= kMaxExePathLength ? EncodeFieldLine(pathText) : std::nullopt;
  if (!line) {
    LogFileFailure("Saving", file,
                   QStringLiteral("it cannot keep the path %1: a path holds %2, and at most %3 "
                                  "characters")
                       .arg(QuotedForLog(pathText), kKeepableField)
                       .arg(kMaxExePathLength));
    return false;
  }
  return ReplaceDataFile(file, *line);
}

}  // namespace kelvor
