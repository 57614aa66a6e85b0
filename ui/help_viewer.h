#pragma once

#include <QString>
#include <QStringView>

namespace kelvor {

// The launcher's help, beside the launcher itself.
inline constexpr QStringView kHelpFileName = u"Kelvor_Launcher_Help.chm";

// Opens a help file in the desktop's viewer, beside the launcher and without waiting for it.
// The main window is given one, so that tests can see what was opened.
class HelpViewer {
 public:
  virtual ~HelpViewer() = default;

  // Without the file or a viewer for it, nothing happens; the launcher goes on as before.
  virtual void OpenHelp(const QString& path) = 0;
};

}  // namespace kelvor
