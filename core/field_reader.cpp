#include "core/field_reader.h"

namespace kelvor {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

FieldReader::FieldReader(QByteArrayView data) : data_(data) {
  // A file that holds nothing else is as empty as one without it.
  if (data_.startsWith(kByteOrderMark)) pos_ = kByteOrderMark.size();
}

std::optional<QByteArrayView> FieldReader::ReadField() {
  if (pos_ >= data_.size()) {
    if (!emptyFieldPending_) return std::nullopt;
    emptyFieldPending_ = false;
    return QByteArrayView();
  }

  SkipBlanks();
  QByteArrayView field;
  if (pos_ < data_.size() && data_[pos_] == '"') {
    const qsizetype start = pos_ + 1;
    qsizetype end = start;
    while (end < data_.size() && data_[end] != '"' && !IsLineEnd(data_[end])) ++end;
    field = data_.sliced(start, end - start);
    pos_ = end;
    if (pos_ < data_.size() && data_[pos_] == '"') pos_ = FindLineEndOrComma(pos_ + 1);
  } else {
    const qsizetype start = pos_;
    pos_ = FindLineEndOrComma(pos_);
    field = data_.sliced(start, pos_ - start);
  }
  ConsumeSeparator();
  return field;
}

void FieldReader::SkipBlanks() {
  while (pos_ < data_.size()) {
    if (IsBlank(data_[pos_])) {
      ++pos_;
    } else if (data_.sliced(pos_).startsWith(kByteOrderMark)) {
      pos_ += kByteOrderMark.size();
    } else {
      break;
    }
  }
}

qsizetype FieldReader::FindLineEndOrComma(qsizetype from) const {
  while (from < data_.size() && data_[from] != ',' && !IsLineEnd(data_[from])) ++from;
  return from;
}

void FieldReader::ConsumeSeparator() {
  if (pos_ >= data_.size()) return;
  const char c = data_[pos_++];
  if (c == ',') {
    emptyFieldPending_ = pos_ >= data_.size();
  } else if (c == '\r' && pos_ < data_.size() && data_[pos_] == '\n') {
    ++pos_;
  }
}

}  // namespace kelvor
