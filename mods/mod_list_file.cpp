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
  if (bytes && !reading.complete) {
    LogFileFailure("Reading", file,
                   QStringLiteral("fields that are no mod names (no text in the system's code "
                                  "page, or over %1 characters) were left out")
                       .arg(kMaxModNameLength));
  }
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

namespace {

std::optional<QByteArray> EncodeModName(const QString& name) {
  return name.size() <= kMaxModNameLength ? EncodeFieldLine(name) : std::nullopt;
}

// Why the list file cannot keep `names`, for the log: the first name it cannot keep, or else
// the size.
QString Refusal(const QStringList& names) {
  for (const QString& name : names) {
    if (!EncodeModName(name)) {
      return QStringLiteral(
                 "it cannot keep the name %1: a name holds %2, and at most %3 characters")
          .arg(QuotedForLog(name), kKeepableField)
          .arg(kMaxModNameLength);
    }
  }
  return QStringLiteral("the list would be over %1 bytes").arg(kMaxModListBytes);
}

}  // namespace

std::optional<QByteArray> EncodeModList(const QStringList& names) {
  QByteArray content;
  for (const QString& name : names) {
    const std::optional<QByteArray> line = EncodeModName(name);
    if (!line) return std::nullopt;
    content += *line;
    if (content.size() > kMaxModListBytes) return std::nullopt;
  }
  return content;
}

bool CanKeepModList(const QString& file, const QStringList& names) {
  if (EncodeModList(names)) return true;
  LogFileFailure("Keeping the mod list in", file, Refusal(names));
  return false;
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
  if (!content) {
    LogFileFailure("Saving", file, Refusal(names));
    return false;
  }
  return ReplaceDataFile(file, *content);
}

bool SaveModList(const QString& file, const QStringList& names) {
  if (!ModListFileExists(file)) {
    LogFileFailure("Saving", file,
                   QStringLiteral("there is no list file to replace, or it is hidden or the "
                                  "system's; only Add Mods' Close makes a new one"));
    return false;
  }
  return WriteModList(file, names);
}

}  // namespace kelvor
