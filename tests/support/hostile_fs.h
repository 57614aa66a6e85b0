#pragma once

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <csignal>
#include <utility>

namespace kelvor::testing {

// While alive, file permissions bind this process as they bind a player. Root may write
// anywhere, so a test running as root takes the unprivileged "nobody" as its effective user.
class PlayerPermissions {
 public:
  PlayerPermissions() : wasRoot_(geteuid() == 0) {
    if (wasRoot_ && seteuid(kNobody) != 0) qFatal("seteuid failed");
  }
  ~PlayerPermissions() {
    if (wasRoot_ && seteuid(0) != 0) qFatal("seteuid back failed");
  }
  PlayerPermissions(const PlayerPermissions&) = delete;
  PlayerPermissions& operator=(const PlayerPermissions&) = delete;

 private:
  static constexpr uid_t kNobody = 65534;
  bool wasRoot_;
};

// Modes for folders and files that the unprivileged user above may use, or only read.
inline constexpr QFileDevice::Permissions kOpenFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
    QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
    QFileDevice::ExeOther | QFileDevice::WriteGroup | QFileDevice::WriteOther;
inline constexpr QFileDevice::Permissions kClosedFolder =
    QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
    QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
inline constexpr QFileDevice::Permissions kReadOnlyFile =
    QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;

// A folder on which no byte more can be written. Where this process may mount, it is a
// tiny tmpfs filled to the brim; elsewhere every file write is capped at a few bytes.
class FullDisk {
 public:
  // `folder` must exist and be empty; `keep` is written into it before the disk fills.
  FullDisk(const QString& folder, const QString& keepName, const QByteArray& keep)
      : FullDisk(folder, {{keepName, keep}}) {}

  // The same, keeping several files, each a name and its bytes.
  FullDisk(const QString& folder, const QList<std::pair<QString, QByteArray>>& keep)
      : folder_(folder) {
    mounted_ = mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                     "size=16k,mode=0777") == 0;

    for (const auto& [name, bytes] : keep) WriteFile(name, bytes);
    if (mounted_) {
      QFile filler(folder + QStringLiteral("/filler"));
      if (!filler.open(QIODevice::WriteOnly)) qFatal("cannot create filler");
      const QByteArray block(512, 'x');
      while (filler.write(block) == block.size() && filler.flush()) {
      }
    } else {
      signal(SIGXFSZ, SIG_IGN);
      getrlimit(RLIMIT_FSIZE, &oldLimit_);
      rlimit tiny = oldLimit_;
      tiny.rlim_cur = 4;
      setrlimit(RLIMIT_FSIZE, &tiny);
    }
  }
  ~FullDisk() {
    if (mounted_) {
      umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
    } else {
      setrlimit(RLIMIT_FSIZE, &oldLimit_);
    }
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

 private:
  void WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(folder_ + u'/' + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) qFatal("setup");
  }

  QString folder_;
  bool mounted_ = false;
  rlimit oldLimit_{};
};

}  // namespace kelvor::testing
