#include "mods/mod_list_file.h"

#include <QFileInfo>

#include "core/data_file.h"
#include "core/field_reader.h"
#include "core/field_writer.h"
#include "core/local_text.h"

namespace kelvor {
namespace {

// Far beyond any real list, and small enough to read in one piece.
constexpr qint64 kMaxModListBytes = qint64{256} * 1024 * 1024;

}  // namespace

QString ModListFile(const QString& dataFolder) { return dataFolder + QStringLiteral("/modDta"); }

ModListReading ReadModList(const QString& dataFolder) {
  ModListReading reading;
  const std::optional<QByteArray> bytes =
      ReadDataFile(ModListFile(dataFolder), kMaxModListBytes + 1);
  if (!bytes || bytes->size() > kMaxModListBytes) return reading;

  reading.complete = true;
  FieldReader reader(*bytes);
  while (const std::optional<QByteArrayView> field = reader.ReadField()) {
    std::optional<QString> name = DecodeLocalText(*field);
    if (name && name->size() <= kMaxModNameLength) {
      reading.names.append(std::move(*name));
    } else {
      reading.complete = false;  // skipped, so that one bad line does not hide the rest
    }
  }
  return reading;
}

bool ModListFileExists(const QString& dataFolder) {
  const QFileInfo file(ModListFile(dataFolder));
  return file.isFile() && !file.isHidden();
}

bool WriteModList(const QString& dataFolder, const QStringList& names) {
  QByteArray content;
  for (const QString& name : names) {
    const std::optional<QByteArray> line = EncodeFieldLine(name);
    if (!line) return false;
    content += *line;
  }
  return ReplaceDataFile(ModListFile(dataFolder), content);
}

bool SaveModList(const QString& dataFolder, const QStringList& names) {
  return ModListFileExists(dataFolder) && WriteModList(dataFolder, names);
}

}  // namespace kelvor
