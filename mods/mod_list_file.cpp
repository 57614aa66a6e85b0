#include "mods/mod_list_file.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>

#include <QDir>
#endif

#include "core/data_file.h"
#include "core/field_reader.h"
#include "core/field_writer.h"
#include "core/local_text.h"

namespace kelvor {

ModListReading ReadModList(const QString& file) {
  const std::optional<QByteArray> bytes = ReadDataFile(file, kMaxModListBytes);
  ModListReading reading = bytes ? ParseModList(*bytes) : ModListReading{};
  if (!reading.complete) KeepCopy(file);
  return reading;
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
    const std::optional<QByteArray> line =
        name.size() <= kMaxModNameLength ? EncodeFieldLine(name) : std::nullopt;
    if (!line) return std::nullopt;
    content += *line;
    if (content.size() > kMaxModListBytes) return std::nullopt;
  }
  return content;
}

namespace {

// Windows marks its own files so; neither they nor hidden ones are the player's list.
bool IsSystemFile([[maybe_unused]] const QString& file) {
#ifdef Q_OS_WIN
  const DWORD attributes =
      GetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(file).utf16()));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_SYSTEM);
#else
  return false;
#endif
}

}  // namespace

bool ModListFileExists(const QString& file) {
  const QFileInfo info(file);
  return info.isFile() && !info.isHidden() && !IsSystemFile(file);
}

bool WriteModList(const QString& file, const QStringList& names) {
  const std::optional<QByteArray> content = EncodeModList(names);
  return content && ReplaceDataFile(file, *content);
}

bool SaveModList(const QString& file, const QStringList& names) {
  return ModListFileExists(file) && WriteModList(file, names);
}

}  // namespace kelvor
