#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kelvor {

// The data files hold text in the system's 8-bit code page. These convert at the file's
// edge and refuse rather than guess: text that would not come back byte for byte is never
// shown as if it were whole, nor written as if it were what the player chose.

// The bytes as text, or nothing when they hold a NUL byte or a sequence that the code page
// cannot decode.
std::optional<QString> DecodeLocalText(QByteArrayView bytes);

// The text in the code page, or nothing when it holds a character the code page lacks.
std::optional<QByteArray> EncodeLocalText(const QString& text);

}  // namespace kelvor
