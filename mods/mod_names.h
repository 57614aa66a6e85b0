#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>
#include <vector>

namespace kelvor {

// The names of a mod list, in order.
//
// A list read from its file keeps the file's bytes, and a name spelled there in plain ASCII
// stays a slice of them until it is asked for. Millions of names then cost little more memory
// than their file, and reading them little more than one pass over it.
class ModNames {
 public:
  ModNames() = default;
  ModNames(std::initializer_list<QString> names);
  ModNames(const QStringList& names);  // NOLINT(google-explicit-constructor): same list

  // A list that is about to receive the names spelled in `fileBytes`, through AppendSlice.
  static ModNames OverFile(QByteArray fileBytes);
  const QByteArray& FileBytes() const { return fileBytes_; }

  qsizetype size() const { return static_cast<qsizetype>(entries_.size()); }
  QString at(qsizetype index) const;
  // The name's bytes when it is spelled in plain ASCII in the file, so it can be saved as is.
  std::optional<QByteArrayView> AsciiBytes(qsizetype index) const;
  QStringList ToStringList() const;

  void append(const QString& name);
  // Appends the name that `slice`, a part of FileBytes() in plain ASCII, spells.
  void AppendSlice(QByteArrayView slice);
  void removeAt(qsizetype index);

 private:
  // A name: a slice of fileBytes_, or an index into held_.
  struct Entry {
    quint32 start;
    quint32 size;
  };
  static constexpr quint32 kHeld = 0xFFFF'FFFF;

  QByteArray fileBytes_;
  std::vector<Entry> entries_;
  // Names added in memory, or decoded from the file's other spellings. A removed name's text
  // stays here until the list is next read; it is never shown or saved again.
  QStringList held_;
};

}  // namespace kelvor
