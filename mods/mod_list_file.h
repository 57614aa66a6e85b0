#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace kelvor {

// The file that keeps the player's mod names between runs, one per line.

// The longest mod name read, and what Add Mods' box holds; a longer field means the file is
// not a mod list.
inline constexpr qsizetype kMaxModNameLength = 32767;

// The largest mod list read: a million names of 16 letters fit, with room to spare. A larger
// file is no list a player keeps, and is refused.
inline constexpr qint64 kMaxModListBytes = qint64{20} * 1024 * 1024;

struct ModListReading {
  QStringList names;      // every name read, in file order
  bool complete = false;  // false when the file was missing, too large, or a field not a name
};

// The names in the mod list `file`, one per field. A field that is not a name (binary data,
// NUL bytes, an over-long line) is left out and makes the reading incomplete; a file that is
// there but not read whole is first kept whole as a copy beside itself, so that the next save
// loses none of its bytes. An incomplete reading is logged with its reason.
ModListReading ReadModList(const QString& file);

// The names that a mod list file's `bytes` hold, as ReadModList reads them.
ModListReading ParseModList(QByteArrayView bytes);

// The bytes of a mod list file holding `names`, one line each; nothing when ReadModList would
// not give back exactly these names: a name that cannot be kept as a field (see
// EncodeFieldLine) or is too long, or a list over the size limit.
std::optional<QByteArray> EncodeModList(const QStringList& names);

// True when `file` could keep exactly `names`, as WriteModList writes them; otherwise false,
// and the log names the first name it could not keep, or says the list is too large.
bool CanKeepModList(const QString& file, const QStringList& names);

// True when the list file is there as an ordinary file: a hidden one, or on Windows one marked
// as the system's, counts as absent.
bool ModListFileExists(const QString& file);

// Makes the list file hold exactly `names`, one line each, creating it when missing. The file
// is replaced as a whole: after a failure (or a crash) it is still the old list. A failure is
// logged with its reason.
bool WriteModList(const QString& file, const QStringList& names);

// As WriteModList, but only over an existing file: a missing list file is a failure, and then
// nothing is created.
bool SaveModList(const QString& file, const QStringList& names);

}  // namespace kelvor
