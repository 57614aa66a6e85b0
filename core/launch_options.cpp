#include "core/launch_options.h"

namespace kelvor {

LaunchOptions LaunchOptions::StartupDefaults() {
  LaunchOptions options;
  options.NoSplashArg = kNoSplashSwitch.toString();
  options.NoPauseArg = kNoPauseSwitch.toString();
  options.ScriptErrorsArg = kScriptErrorsSwitch.toString();
  return options;
}

QString ValueFragment(QStringView prefix, const QString& value) {
  return value.isEmpty() ? QString() : prefix.toString() + value;
}

QString ComposeCommandLine(const QString& pathText, const LaunchOptions& options) {
  return pathText + options.WindowArg + options.NoSplashArg + options.NoPauseArg +
         options.ScriptErrorsArg + options.ConnectArg + options.PortArg + options.PasswordArg +
         options.HostArg + options.ModArg;
}

}  // namespace kelvor
