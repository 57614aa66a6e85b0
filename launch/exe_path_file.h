#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace kelvor {

// The file beside the launcher that remembers the game's executable path between runs.
QString ExePathFile(const QString& dataFolder);

// The longest path kept. Windows accepts no longer one, and the path box holds no more.
inline constexpr qsizetype kMaxExePathLength = 32767;

// The path saved in `dataFolder`: the first field of the file. Nothing when the file is
// missing, unreadable, empty (0 bytes), or holds no text that could be a path (binary data,
// an over-long line). A file holding only a line end gives an empty path.
std::optional<QString> ReadExePath(const QString& dataFolder);

// The path that the path file's `bytes` hold, as ReadExePath reads it.
std::optional<QString> ParseExePath(QByteArrayView bytes);

// Saves `pathText` as the file's one line. On failure the old file stays as it was.
bool SaveExePath(const QString& dataFolder, const QString& pathText);

}  // namespace kelvor
