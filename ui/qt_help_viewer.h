#pragma once

#include "ui/help_viewer.h"

namespace kelvor {

// Hands the help file to whatever viewer the desktop associates with it: the HTML Help viewer
// on Windows, a CHM viewer such as xchm elsewhere.
class QtHelpViewer final : public HelpViewer {
 public:
  void OpenHelp(const QString& path) override;
};

}  // namespace kelvor
