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

bool SetConnection(LaunchOptions& options,
                   const std::array<QString, kConnectionFragments.size()>& texts) {
  bool complete = true;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const ConnectionFragment& fragment = kConnectionFragments[i];
    options.*fragment.slot = ValueFragment(fragment.prefix, texts[i]);
    if (fragment.required && texts[i].isEmpty()) complete = false;
  }
  return complete;
}

std::array<QStringView, kFragmentOrder.size()> OrderedFragments(const LaunchOptions& options) {
  std::array<QStringView, kFragmentOrder.size()> fragments;
  for (std::size_t i = 0; i < fragments.size(); ++i) fragments[i] = options.*kFragmentOrder[i];
  return fragments;
}

QString ComposeCommandLine(const QString& pathText, const LaunchOptions& options) {
  QString line = pathText;
  for (QStringView fragment : OrderedFragments(options)) line += fragment;
  return line;
}

}  // namespace kelvor
