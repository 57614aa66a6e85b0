#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace kelvor {

// The file that remembers the game's executable path between runs: one line, the path.

// The longest path kept, and what the path box holds. Windows accepts no longer one.
inline constexpr qsizetype kMaxExePathLength = 32767;

// The path saved in `file`: its first field. Nothing when the file is missing, unreadable,
// empty (0 bytes), over 1 MB, or holds no text that could be a path (binary data, an
// over-long line);
// a file that is there but unreadable is first kept whole as a copy beside itself, so that
// the next save loses none of its bytes. A file holding only a line end gives an empty path.
std::optional<QString> ReadExePath(const QString& file);

// The path that the path file's `bytes` hold, as ReadExePath reads it.
std::optional<QString> ParseExePath(QByteArrayView bytes);

// Saves `pathText` as the file's one line. A path that ReadExePath would not give back exactly
// (see EncodeFieldLine), or too long a one, is refused. On failure the old file stays as it was.
bool SaveExePath(const QString& file, const QString& pathText);

}  // namespace kelvor
