#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kelvor {

// A regular file's bytes; nothing when it is missing, is not a file, cannot be read, or holds
// more than `maxBytes`, in which case none of it is read.
std::optional<QByteArray> ReadDataFile(const QString& path, qint64 maxBytes);

// Replaces the file with `content` through a temporary file in the same folder that is
// renamed over it only once complete, so the file is always either the old one or the new
// one, never empty or half written. A file marked read-only is left alone even where the
// process could override the mark. False, with the old file untouched, on any failure.
bool ReplaceDataFile(const QString& path, const QByteArray& content);

// Copies the file at `path`, whole, to the same name with ".bak" added, replacing an older copy,
// so that bytes the launcher cannot read survive a later save. An empty or missing file is not
// copied. A copy that cannot be made whole leaves the older copy as it was.
void KeepCopy(const QString& path);

// The launcher's two data files, named here once: they live in the folder of its executable.
struct DataFiles {
  explicit DataFiles(const QString& folder)
      : exePath(folder + QStringLiteral("/appSet")), modList(folder + QStringLiteral("/modDta")) {}

  QString exePath;  // the game's path, one line
  QString modList;  // the player's mod names, one per line
};

}  // namespace kelvor
