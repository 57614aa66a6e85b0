#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kelvor {

// One line of a data file holding `text` as a single field, ended by CR LF, in the system's
// code page; nothing when the code page cannot hold the text.
//
// The text is written as it stands, except that a text the reader would change (one holding
// a comma, or beginning with a blank or a tab) is enclosed in double quotes, which the reader
// strips again. A text that holds a line end or a double quote may still not read back whole.
std::optional<QByteArray> EncodeFieldLine(const QString& text);

}  // namespace kelvor
