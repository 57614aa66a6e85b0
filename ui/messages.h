#pragma once

#include <QString>
#include <QStringView>

namespace kelvor {

// Every text the launcher's code says to the player, in one place; the forms hold their own
// captions and tooltips.
inline constexpr QStringView kAppTitle = u"Kelvor Launcher";
inline constexpr QStringView kErrorText = u"Oops! Something's gone wrong!";
inline constexpr QStringView kExePathSavedText = u"Executable file location saved!";
inline constexpr QStringView kModListSavedText = u"Mod list saved!";
inline constexpr QStringView kNothingSelectedText = u"Nothing was selected!";
inline constexpr QStringView kRemoveWarningText = u"This will remove the selected item!";
inline constexpr QStringView kProceedQuestionText = u"Do you want to proceed?";
inline constexpr QStringView kModRemovedText = u"Selected item was removed!";
inline constexpr QStringView kEmptyNameText = u"Field can't be empty!";
inline constexpr QStringView kNameNeededText = u"Any name must be defined!";
inline constexpr QStringView kModListMissingText = u"Core file for the Mod list doesn't exist!";
inline constexpr QStringView kModListCreatedText = u"The new one will be created!";
inline constexpr QStringView kConnectionNeededText =
    u"IP address and Port number must be defined as minimum!";
inline constexpr QStringView kPasswordOptionalText = u"Password is optional.";
inline constexpr QStringView kQuitQuestionText = u"Do you really want to quit ?";
inline constexpr QStringView kPickerTitleText = u"Locate Dravik2 executable file please...";
inline constexpr QStringView kPickerFilterText = u"Dravik 2 (*.exe)";
inline constexpr QStringView kCopyText = u"Copy";        // the preview's context menu
inline constexpr QStringView kVersionPrefix = u"ver. ";  // before the version, in About

// The notification-area icon's tip.
inline QString RestoreTipText() { return QStringLiteral("Restore ") + kAppTitle.toString(); }

// Two sentences read best on two lines with an empty line between them.
inline QString TwoSentences(QStringView first, QStringView second) {
  return first.toString() + QLatin1String("\n\n") + second.toString();
}

}  // namespace kelvor
