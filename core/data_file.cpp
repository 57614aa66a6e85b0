#include "core/data_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kelvor {
namespace {

// Puts every byte on the disk, or says it could not. QSaveFile::commit() in Qt 6.4 renames the
// temporary file into place even when its last write failed (a full disk), which would swap
// the old file for an empty one; so the writes are flushed and synced, and checked, first.
bool WriteThrough(QSaveFile& file, const QByteArray& content) {
  if (file.write(content) != content.size() || !file.flush()) return false;
#ifdef Q_OS_UNIX
  if (::fsync(file.handle()) != 0) return false;
#endif
  return true;
}

}  // namespace

std::optional<QByteArray> ReadDataFile(const QString& path, qint64 maxBytes) {
  if (!QFileInfo(path).isFile()) return std::nullopt;
  QFile file(path);
  // The open file's own size: a file over the limit costs nothing to refuse.
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || file.size() > maxBytes) {
    return std::nullopt;
  }
  // Exactly that many bytes, unbuffered, so that the system is asked for nothing past the end.
  // Qt reports a read that fails after bringing some bytes as a short read, not an error: the
  // count tells it. A file that has grown or shrunk since is no more readable.
  const qint64 size = file.size();
  QByteArray bytes = file.read(size);
  if (file.error() != QFileDevice::NoError || bytes.size() != size || !file.atEnd()) {
    return std::nullopt;
  }
  return bytes;
}

bool ReplaceDataFile(const QString& path, const QByteArray& content) {
  const QFileInfo info(path);
  if (info.exists() && !info.permissions().testFlag(QFileDevice::WriteOwner)) return false;
  // A save file that is not committed is discarded, and the old file stays.
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && WriteThrough(file, content) && file.commit();
}

void KeepCopy(const QString& path) {
  // An empty file has nothing to keep, and its copy would replace an older one that has.
  if (const QFileInfo info(path); !info.isFile() || info.size() == 0) return;
  QFile source(path);
  if (!source.open(QIODevice::ReadOnly)) return;
  QSaveFile copy(path + QStringLiteral(".bak"));
  if (!copy.open(QIODevice::WriteOnly)) return;
  // A slice at a time: the file may be far larger than anything the launcher reads.
  constexpr qint64 kSlice = qint64{1} << 20;
  while (!source.atEnd()) {
    const QByteArray slice = source.read(kSlice);
    if (source.error() != QFileDevice::NoError || copy.write(slice) != slice.size()) return;
  }
  if (WriteThrough(copy, {})) copy.commit();
}

}  // namespace kelvor
