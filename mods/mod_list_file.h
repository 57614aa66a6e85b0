#pragma once

#include <QString>
#include <QStringList>

namespace kelvor {

// The file beside the launcher that keeps the player's mod names between runs.
QString ModListFile(const QString& dataFolder);

// The longest mod name read; a longer field means the file is not a mod list.
inline constexpr qsizetype kMaxModNameLength = 32767;

struct ModListReading {
  QStringList names;      // every name read, in file order
  bool complete = false;  // false when the file was missing or a failure cut the reading short
};

// The names in `dataFolder`'s mod list, one per field. Reading stops at the first field that
// is not text (binary data, NUL bytes, an over-long line); the names before it are kept.
ModListReading ReadModList(const QString& dataFolder);

}  // namespace kelvor
