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

bool SetConnection(LaunchOptions& options, const QString& address, const QString& port,
                   const QString& password) {
  options.ConnectArg = ValueFragment(kConnectPrefix, address);
  options.PortArg = ValueFragment(kPortPrefix, port);
  options.PasswordArg = ValueFragment(kPasswordPrefix, password);
  return !address.isEmpty() && !port.isEmpty();
}

std::array<QStringView, 9> OrderedFragments(const LaunchOptions& options) {
  return {options.WindowArg,       options.NoSplashArg, options.NoPauseArg,
          options.ScriptErrorsArg, options.ConnectArg,  options.PortArg,
          options.PasswordArg,     options.HostArg,     options.ModArg};
}

QString ComposeCommandLine(const QString& pathText, const LaunchOptions& options) {
  QString line = pathText;
  for (QStringView fragment : OrderedFragments(options)) line += fragment;
  return line;
}

}  // namespace kelvor
