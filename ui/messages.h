#pragma once

#include <QString>
#include <QStringView>

namespace kelvor {

// Every text the launcher says to the player, in one place.
inline constexpr QStringView kAppTitle = u"Kelvor Launcher";
inline constexpr QStringView kErrorText = u"Oops! Something's gone wrong!";
inline constexpr QStringView kExePathSavedText = u"Executable file location saved!";

// Two sentences read best on two lines with an empty line between them.
inline QString TwoSentences(QStringView first, QStringView second) {
  return first.toString() + QLatin1String("\n\n") + second.toString();
}

}  // namespace kelvor
