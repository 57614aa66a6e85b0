#pragma once

#include <QFile>
#include <QString>
#include <optional>

#include "core/field_reader.h"
#include "mods/mod_names.h"

namespace kelvor {

// The file beside the launcher that keeps the player's mod names between runs.
QString ModListFile(const QString& dataFolder);

// The longest mod name read; a longer field means the file is not a mod list.
inline constexpr qsizetype kMaxModNameLength = 32767;

struct ModListReading {
  ModNames names;         // every name read, in file order
  bool complete = false;  // false when the file was missing or a field was not a name
};

// Reads the mod list a batch of names at a time, so that a long list can be read between
// other work. A field that is not a name (binary data, NUL bytes, an over-long line) is left
// out and makes the reading incomplete.
class ModListReader {
 public:
  explicit ModListReader(const QString& dataFolder);
  ModListReader(const ModListReader&) = delete;
  ModListReader& operator=(const ModListReader&) = delete;

  // Does the next step of the reading: the next slice of the file's bytes, or up to `count`
  // names once all bytes are in. True once the whole list has been read.
  bool ReadNames(qsizetype count);

  // What was read; the reader is spent afterwards.
  ModListReading Take() { return std::move(reading_); }

 private:
  friend ModListReading ParseModList(QByteArrayView bytes);
  ModListReader() = default;
  void ReadMoreBytes();
  void ReadFields(qsizetype count);
  void Fail();

  QFile file_;
  QByteArray bytes_;
  qint64 bytesRead_ = 0;
  bool done_ = false;
  FieldReader fields_{{}};
  ModListReading reading_;
};

// The names in `dataFolder`'s mod list, one per field, read at once.
ModListReading ReadModList(const QString& dataFolder);

// The names that a mod list file's `bytes` hold, as ReadModList reads them.
ModListReading ParseModList(QByteArrayView bytes);

// The bytes of a mod list file holding `names`, one line each; nothing when a name holds text
// that the system's code page cannot spell.
std::optional<QByteArray> EncodeModList(const ModNames& names);

// True when the list file is there as an ordinary file.
bool ModListFileExists(const QString& dataFolder);

// Makes the list file hold exactly `names`, one line each, creating it when missing. The file
// is replaced as a whole: after a failure (or a crash) it is still the old list.
bool WriteModList(const QString& dataFolder, const ModNames& names);

// As WriteModList, but only over an existing file: a missing list file is a failure, and then
// nothing is created.
bool SaveModList(const QString& dataFolder, const ModNames& names);

}  // namespace kelvor
