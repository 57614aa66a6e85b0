#pragma once

#include <QByteArrayView>
#include <optional>

namespace kelvor {

// The UTF-8 byte-order mark, which some editors put first in a text file.
inline constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// Reads the launcher's data files field by field, over their raw 8-bit bytes.
//
// A field is separated from the next by a comma or a line end. Blanks before a field are
// skipped. A field that begins with a double quote runs to the next double quote, may hold
// commas, and does not include the quotes. An empty line, or nothing between two commas, is
// an empty field. The last line need not end with a line end.
//
// Where the files' history leaves room for doubt, the reader settles it so that whatever the
// launcher itself writes reads back whole, and a damaged file costs as little as possible:
// - Blanks at the end of an unquoted field are kept: they are part of the name or path.
// - Characters after a closing quote, up to the next comma or line end, are dropped.
// - A double quote inside an unquoted field is an ordinary character.
// - A quoted field with no closing quote ends at the end of its line, or of the file: one
//   stray quote never swallows the lines after it.
// - Tabs count as blanks before a field.
// - CR LF, a lone LF and a lone CR each end a line, so files edited elsewhere read alike.
// - A comma at the very end of the file is followed by one empty field, as it would be
//   before a line end.
// - A UTF-8 byte-order mark, which editors such as Windows Notepad put first in a file ("UTF-8
//   with BOM"), counts as a blank before a field: it would be an invisible part of the game's
//   path or of a mod's name. One that is all the file holds leaves it empty.
class FieldReader {
 public:
  explicit FieldReader(QByteArrayView data);

  // The next field's bytes, or nothing when no field is left (reading past the end is the
  // caller's failure to report). The view points into the data given to the constructor.
  std::optional<QByteArrayView> ReadField();

 private:
  void SkipBlanks();
  qsizetype FindLineEndOrComma(qsizetype from) const;
  void ConsumeSeparator();

  QByteArrayView data_;
  qsizetype pos_ = 0;
  bool emptyFieldPending_ = false;
};

}  // namespace kelvor
