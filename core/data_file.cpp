#include "core/data_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/failure_report.h"

#ifdef Q_OS_UNIX
#include <unistd.h>

#include <cerrno>
#elif defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#endif

namespace kelvor {

// Only failures are shown unless the rules ask for more: a working run says nothing.
Q_LOGGING_CATEGORY(lcFiles, "kelvor.files", QtWarningMsg)

void LogFileFailure(const char* what, const QString& path, const QString& reason) {
  FailureReport::Add(lcFiles(),
                     QStringLiteral("%1 \"%2\" failed: %3")
                         .arg(QLatin1String(what), QDir::toNativeSeparators(path), reason));
}

QString QuotedForLog(const QString& text) {
  constexpr qsizetype kShown = 100;
  QString quoted(u'"');
  for (const QChar c : QStringView(text).left(kShown)) {
    // A Windows path keeps its backslashes as the player knows them; only controls are spelt out.
    if (c.category() == QChar::Other_Control) {
      quoted += QStringLiteral("\\x%1").arg(int{c.unicode()}, 2, 16, QChar(u'0'));
    } else {
      quoted += c;
    }
  }
  return quoted + (text.size() > kShown ? QStringLiteral("\"...") : QStringLiteral("\""));
}

namespace {

// Puts every byte on the disk; the reason it could not, or nothing. QSaveFile::commit() in
// Qt 6.4 renames the temporary file into place even when its last write failed (a full disk),
// and on Windows even when its flush to the disk failed, which would swap the old file for an
// empty or partial one; so the writes are flushed and synced (fsync, FlushFileBuffers), and
// checked, first.
std::optional<QString> WriteThrough(QSaveFile& file, const QByteArray& content) {
  if (file.write(content) != content.size() || !file.flush()) return file.errorString();
#ifdef Q_OS_UNIX
  if (::fsync(file.handle()) != 0) return qt_error_string(errno);
#elif defined(Q_OS_WIN)
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()));
  if (!::FlushFileBuffers(handle)) return qt_error_string(static_cast<int>(::GetLastError()));
#endif
  return std::nullopt;
}

}  // namespace

std::optional<QByteArray> ReadDataFile(const QString& path, qint64 maxBytes) {
  if (const QFileInfo info(path); !info.isFile()) {
    LogFileFailure("Reading", path, info.exists() ? "it is no ordinary file" : "no such file");
    return std::nullopt;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    LogFileFailure("Reading", path, file.errorString());
    return std::nullopt;
  }
  // The open file's own size: a file over the limit costs nothing to refuse.
  const qint64 size = file.size();
  if (size > maxBytes) {
    LogFileFailure("Reading", path,
                   QStringLiteral("it holds %1 bytes, over the %2 it may").arg(size).arg(maxBytes));
    return std::nullopt;
  }
  // Exactly that many bytes, unbuffered, so that the system is asked for nothing past the end.
  // Qt reports a read that fails after bringing some bytes as a short read, not an error: the
  // count tells it. A file that has grown or shrunk since is no more readable.
  QByteArray bytes = file.read(size);
  if (file.error() != QFileDevice::NoError) {
    LogFileFailure("Reading", path, file.errorString());
    return std::nullopt;
  }
  if (bytes.size() != size || !file.atEnd()) {
    LogFileFailure("Reading", path, QStringLiteral("it changed size while it was read"));
    return std::nullopt;
  }
  qCDebug(lcFiles, "Read \"%s\", %lld bytes", qUtf8Printable(path), size);
  return bytes;
}

bool ReplaceDataFile(const QString& path, const QByteArray& content) {
  const QFileInfo info(path);
  if (info.exists() && !info.permissions().testFlag(QFileDevice::WriteOwner)) {
    LogFileFailure("Saving", path, QStringLiteral("it is marked read-only"));
    return false;
  }
  // A save file that is not committed is discarded, and the old file stays.
  QSaveFile file(path);
  std::optional<QString> failure =
      file.open(QIODevice::WriteOnly) ? WriteThrough(file, content) : file.errorString();
  if (!failure && !file.commit()) failure = file.errorString();
  if (failure) {
    LogFileFailure("Saving", path, *failure);
    return false;
  }
  qCDebug(lcFiles, "Saved \"%s\", %lld bytes", qUtf8Printable(path), qint64{content.size()});
  return true;
}

void KeepCopy(const QString& path) {
  // An empty file has nothing to keep, and its copy would replace an older one that has.
  if (const QFileInfo info(path); !info.isFile() || info.size() == 0) return;
  const QString copyPath = path + QStringLiteral(".bak");
  QFile source(path);
  QSaveFile copy(copyPath);
  std::optional<QString> failure;
  if (!source.open(QIODevice::ReadOnly)) {
    failure = source.errorString();
  } else if (!copy.open(QIODevice::WriteOnly)) {
    failure = copy.errorString();
  }
  // A slice at a time: the file may be far larger than anything the launcher reads. Each slice
  // brings at least one byte or ends the copy, so that neither a read that keeps failing nor a
  // file that shrinks meanwhile can hold it up.
  constexpr qint64 kSlice = qint64{1} << 20;
  while (!failure && !source.atEnd()) {
    const QByteArray slice = source.read(kSlice);
    if (slice.isEmpty()) {
      failure = source.errorString();
    } else if (copy.write(slice) != slice.size()) {
      failure = copy.errorString();
    }
  }
  if (!failure) failure = WriteThrough(copy, {});
  if (!failure && !copy.commit()) failure = copy.errorString();
  if (failure) {
    LogFileFailure("Copying aside", path, *failure);
    return;
  }
  qCDebug(lcFiles, "Kept \"%s\" whole as \"%s\"", qUtf8Printable(path), qUtf8Printable(copyPath));
}

}  // namespace kelvor
