#include "mods/mod_list_file.h"

#include <QFileInfo>
#include <limits>

#include "core/data_file.h"
#include "core/field_writer.h"
#include "core/large_pages.h"
#include "core/local_text.h"

namespace kelvor {
namespace {

// Far beyond any real list, and small enough to read in one piece.
constexpr qint64 kMaxModListBytes = qint64{256} * 1024 * 1024;

}  // namespace

QString ModListFile(const QString& dataFolder) { return dataFolder + QStringLiteral("/modDta"); }

ModListReader::ModListReader(const QString& dataFolder) : file_(ModListFile(dataFolder)) {
  const QFileInfo info(file_.fileName());
  if (!info.isFile() || info.size() > kMaxModListBytes || !file_.open(QIODevice::ReadOnly)) {
    Fail();
    return;
  }
  bytes_.resize(info.size());  // filled a slice at a time: the memory is touched only then
  AdviseLargePages(bytes_.data(), bytes_.size());
}

bool ModListReader::ReadNames(qsizetype count) {
  if (done_) return true;
  if (file_.isOpen()) {
    ReadMoreBytes();
    return done_;
  }
  ReadFields(count);
  return done_;
}

void ModListReader::ReadFields(qsizetype count) {
  for (; count > 0; --count) {
    const std::optional<QByteArrayView> field = fields_.ReadField();
    if (!field) break;
    if (IsPlainAscii(*field)) {
      if (field->size() <= kMaxModNameLength) {
        reading_.names.AppendSlice(*field);
        continue;
      }
    } else if (std::optional<QString> name = DecodeLocalText(*field)) {
      if (name->size() <= kMaxModNameLength) {
        reading_.names.append(*name);
        continue;
      }
    }
    reading_.complete = false;  // skipped, so that one bad line does not hide the rest
  }
  done_ = fields_.AtEnd();
}

void ModListReader::ReadMoreBytes() {
  // A slice small enough that reading it never holds the window up.
  constexpr qint64 kBytesPerStep = qint64{4} * 1024 * 1024;
  const qint64 read =
      file_.read(bytes_.data() + bytesRead_, std::min(kBytesPerStep, bytes_.size() - bytesRead_));
  if (read < 0) return Fail();
  bytesRead_ += read;
  if (read > 0 && bytesRead_ < bytes_.size()) return;
  bytes_.truncate(bytesRead_);  // a file cut short while it was read ends where it ended
  file_.close();
  reading_.names = ModNames::OverFile(std::move(bytes_));
  fields_ = FieldReader(reading_.names.FileBytes());
  reading_.complete = true;
  done_ = fields_.AtEnd();
}

void ModListReader::Fail() {
  file_.close();
  bytes_.clear();
  reading_.complete = false;
  done_ = true;
}

ModListReading ReadModList(const QString& dataFolder) {
  ModListReader reader(dataFolder);
  while (!reader.ReadNames(std::numeric_limits<qsizetype>::max())) {
  }
  return reader.Take();
}

ModListReading ParseModList(QByteArrayView bytes) {
  ModListReader reader;
  reader.reading_.names = ModNames::OverFile(bytes.toByteArray());
  reader.fields_ = FieldReader(reader.reading_.names.FileBytes());
  reader.reading_.complete = true;
  reader.ReadFields(std::numeric_limits<qsizetype>::max());
  return reader.Take();
}

std::optional<QByteArray> EncodeModList(const ModNames& names) {
  // A list read from its file is written back much as it was read: room for its bytes, and for
  // a CR LF in place of each line end.
  QByteArray content;
  content.reserve(names.FileBytes().size() + 2 * names.size());
  AdviseLargePages(content.data(), content.capacity());
  for (qsizetype i = 0; i < names.size(); ++i) {
    if (const std::optional<QByteArrayView> ascii = names.AsciiBytes(i)) {
      AppendAsciiFieldLine(content, *ascii);
    } else if (const std::optional<QByteArray> line = EncodeFieldLine(names.at(i))) {
      content += *line;
    } else {
      return std::nullopt;
    }
  }
  return content;
}

bool ModListFileExists(const QString& dataFolder) {
  const QFileInfo file(ModListFile(dataFolder));
  return file.isFile() && !file.isHidden();
}

bool WriteModList(const QString& dataFolder, const ModNames& names) {
  const std::optional<QByteArray> content = EncodeModList(names);
  return content && ReplaceDataFile(ModListFile(dataFolder), *content);
}

bool SaveModList(const QString& dataFolder, const ModNames& names) {
  return ModListFileExists(dataFolder) && WriteModList(dataFolder, names);
}

}  // namespace kelvor
