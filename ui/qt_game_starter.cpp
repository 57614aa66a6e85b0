#include "ui/qt_game_starter.h"

#include <QProcess>

namespace kelvor {

bool DetachedGameStarter::Start(const QString& program, const QStringList& arguments) {
  // The program and each argument are handed over apart, so a blank in the path can never
  // make a shorter path the program, and nothing in a value is read as a command.
  return QProcess::startDetached(program, arguments);
}

}  // namespace kelvor
