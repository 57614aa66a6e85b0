#include "mods/mod_names.h"

#include "core/large_pages.h"

namespace kelvor {

ModNames::ModNames(std::initializer_list<QString> names) {
  for (const QString& name : names) append(name);
}

ModNames::ModNames(const QStringList& names) {
  entries_.reserve(static_cast<std::size_t>(names.size()));
  for (const QString& name : names) append(name);
}

ModNames ModNames::OverFile(QByteArray fileBytes) {
  ModNames names;
  names.fileBytes_ = std::move(fileBytes);
  // Nearly every line holds one name; counting them first spares the list growing by copies.
  const auto lines = static_cast<std::size_t>(names.fileBytes_.count('\n')) + 1;
  names.entries_.reserve(lines);
  AdviseLargePages(names.entries_.data(), static_cast<qsizetype>(lines * sizeof(Entry)));
  return names;
}

QString ModNames::at(qsizetype index) const {
  const Entry entry = entries_[static_cast<std::size_t>(index)];
  if (entry.size == kHeld) return held_[entry.start];
  return QString::fromLatin1(fileBytes_.constData() + entry.start, entry.size);
}

std::optional<QByteArrayView> ModNames::AsciiBytes(qsizetype index) const {
  const Entry entry = entries_[static_cast<std::size_t>(index)];
  if (entry.size == kHeld) return std::nullopt;
  return QByteArrayView(fileBytes_).sliced(entry.start, entry.size);
}

QStringList ModNames::ToStringList() const {
  QStringList names;
  names.reserve(size());
  for (qsizetype i = 0; i < size(); ++i) names.append(at(i));
  return names;
}

void ModNames::append(const QString& name) {
  entries_.push_back({static_cast<quint32>(held_.size()), kHeld});
  held_.append(name);
}

void ModNames::AppendSlice(QByteArrayView slice) {
  Q_ASSERT(slice.data() >= fileBytes_.constData() && slice.end() <= fileBytes_.constEnd());
  entries_.push_back({static_cast<quint32>(slice.data() - fileBytes_.constData()),
                      static_cast<quint32>(slice.size())});
}

void ModNames::removeAt(qsizetype index) { entries_.erase(entries_.begin() + index); }

}  // namespace kelvor
