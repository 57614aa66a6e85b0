#pragma once

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>
#include <optional>

#include "core/file_names.h"

namespace kelvor {

// "kelvor.files": why a data file could not be read, saved or copied aside, one warning for
// each failure the player is told of, naming the file. Debug lines, off unless asked for,
// tell each file read and saved.
Q_DECLARE_LOGGING_CATEGORY(lcFiles)

// Logs that `what` ("Reading", "Saving", ...) failed on the file at `path`, and why, and adds
// the same line to the open FailureReport.
void LogFileFailure(const char* what, const QString& path, const QString& reason);

// A name or path for a log line: in quotes, with line ends and other controls escaped so that
// the line stays one, and cut short after 100 characters.
QString QuotedForLog(const QString& text);

// A regular file's bytes; nothing, with the reason logged, when it is missing, is not a file,
// cannot be read, or holds more than `maxBytes`, in which case none of it is read.
std::optional<QByteArray> ReadDataFile(const QString& path, qint64 maxBytes);

// Replaces the file with `content` through a temporary file in the same folder that is
// renamed over it only once complete, so the file is always either the old one or the new
// one, never empty or half written. A file marked read-only is left alone even where the
// process could override the mark. False, with the old file untouched and the reason logged,
// on any failure.
bool ReplaceDataFile(const QString& path, const QByteArray& content);

// Copies the file at `path`, whole, to the same name with ".bak" added, replacing an older copy,
// so that bytes the launcher cannot read survive a later save. An empty or missing file is not
// copied. A copy that cannot be made whole leaves the older copy as it was, and is logged.
void KeepCopy(const QString& path);

// The launcher's two data files, in the folder of its executable.
struct DataFiles {
  explicit DataFiles(const QString& folder)
      : exePath(folder + QStringLiteral("/" KELVOR_PATH_FILE)),
        modList(folder + QStringLiteral("/" KELVOR_MOD_LIST_FILE)) {}

  QString exePath;  // the game's path, one line
  QString modList;  // the player's mod names, one per line
};

}  // namespace kelvor
