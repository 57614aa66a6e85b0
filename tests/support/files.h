#pragma once

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#endif

namespace kelvor::testing {

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) qFatal("cannot write");
}

// Lays out a file: `bytes` as its content, no file for a null array, a folder for "<dir>".
inline void PlaceFile(const QString& path, const QByteArray& bytes) {
  if (bytes == "<dir>") QDir().mkdir(path);
  if (bytes != "<dir>" && !bytes.isNull()) WriteBytes(path, bytes);
}

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
}

#ifdef Q_OS_UNIX
// While alive, file permissions bind this process as they bind a player: root may write
// anywhere, so a test running as root takes the unprivileged "nobody" as its effective user.
// With `fullDisk`, no file can grow past a few bytes either, as on a disk with no room left.
class PlayerLimits {
 public:
  explicit PlayerLimits(bool fullDisk) {
    if (getuid() == 0 && seteuid(65534) != 0) qFatal("seteuid failed");
    getrlimit(RLIMIT_FSIZE, &oldLimit_);
    const rlimit tiny{4, oldLimit_.rlim_max};
    if (fullDisk && signal(SIGXFSZ, SIG_IGN) != SIG_ERR) setrlimit(RLIMIT_FSIZE, &tiny);
  }
  ~PlayerLimits() {
    setrlimit(RLIMIT_FSIZE, &oldLimit_);
    if (getuid() == 0 && seteuid(0) != 0) qFatal("seteuid back failed");
  }

 private:
  rlimit oldLimit_{};
};
#endif

}  // namespace kelvor::testing
