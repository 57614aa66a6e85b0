#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kelvor {

// One line of a data file holding `text` as a single field, ended by CR LF, in the system's
// code page; nothing when the reader would not give the text back exactly.
//
// The text is written as it stands, except that a text the reader would change (one holding
// a comma, or beginning with a blank, a tab or the bytes of a byte-order mark, which the reader
// skips before a field) is enclosed in double quotes, which the reader strips again. A text
// cannot be kept when it holds a line end, which would split it; when it begins with a double
// quote, which would make the reader take it for a quoted field; when it needs quotes and holds
// a double quote, which would end it early; or when it holds a character the code page lacks.
std::optional<QByteArray> EncodeFieldLine(const QString& text);

// What EncodeFieldLine asks of a text, in the words the log gives as the reason for a refusal.
inline constexpr char kKeepableField[] =
    "no line end, no character the system's code page lacks, and no double quote first or "
    "where it needs quotes";

}  // namespace kelvor
