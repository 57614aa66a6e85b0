#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace kelvor::testing {

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    qFatal("cannot write %s", qPrintable(path));
  file.write(bytes);
}

// Lays out a file for a test: `bytes` as its content, no file at all for a null array, or a
// directory in its place for "<dir>".
inline void PlaceFile(const QString& path, const QByteArray& bytes) {
  if (bytes == "<dir>") {
    QDir().mkdir(path);
  } else if (!bytes.isNull()) {
    WriteBytes(path, bytes);
  }
}

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArrayLiteral("<missing>");
  return file.readAll();
}

}  // namespace kelvor::testing
