#include "mods/mod_list_file.h"

#include <QFileInfo>

#include "core/data_file.h"
#include "core/field_reader.h"
#include "core/field_writer.h"
#include "core/local_text.h"

namespace kelvor {

QString ModListFile(const QString& dataFolder) { return dataFolder + QStringLiteral("/modDta"); }

ModListReading ReadModList(const QString& dataFolder) {
  const QString file = ModListFile(dataFolder);
  // Checked before reading, so that a huge file costs neither time nor memory.
  if (QFileInfo(file).size() > kMaxModListBytes) return {};
  const std::optional<QByteArray> bytes = ReadDataFile(file, kMaxModListBytes);
  return bytes ? ParseModList(*bytes) : ModListReading{};
}

ModListReading ParseModList(QByteArrayView bytes) {
  ModListReading reading{{}, true};
  // Nearly every line holds one name; room for them all spares the list growing by copies.
  reading.names.reserve(bytes.count('\n') + 1);
  FieldReader fields(bytes);
  while (const std::optional<QByteArrayView> field = fields.ReadField()) {
    std::optional<QString> name = DecodeLocalText(*field);
    if (name && name->size() <= kMaxModNameLength) {
      reading.names.append(std::move(*name));
    } else {
      reading.complete = false;  // skipped, so that one bad line does not hide the rest
    }
  }
  return reading;
}

std::optional<QByteArray> EncodeModList(const QStringList& names) {
  QByteArray content;
  for (const QString& name : names) {
    const std::optional<QByteArray> line = EncodeFieldLine(name);
    if (!line) return std::nullopt;
    content += *line;
  }
  return content;
}

bool ModListFileExists(const QString& dataFolder) {
  const QFileInfo file(ModListFile(dataFolder));
  return file.isFile() && !file.isHidden();
}

bool WriteModList(const QString& dataFolder, const QStringList& names) {
  const std::optional<QByteArray> content = EncodeModList(names);
  return content && ReplaceDataFile(ModListFile(dataFolder), *content);
}

bool SaveModList(const QString& dataFolder, const QStringList& names) {
  return ModListFileExists(dataFolder) && WriteModList(dataFolder, names);
}

}  // namespace kelvor
