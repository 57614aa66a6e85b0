#pragma once

#include <QString>
#include <array>

namespace kelvor {

// The switches that the game understands, each with the blank that separates it from
// whatever stands before it in the command line.
inline constexpr QStringView kWindowSwitch = u" -window";
inline constexpr QStringView kNoSplashSwitch = u" -noSplash";
inline constexpr QStringView kNoPauseSwitch = u" -noPause";
inline constexpr QStringView kScriptErrorsSwitch = u" -showScriptErrors";
inline constexpr QStringView kConnectPrefix = u" -connect=";
inline constexpr QStringView kPortPrefix = u" -port=";
inline constexpr QStringView kPasswordPrefix = u" -password=";
inline constexpr QStringView kHostSwitch = u" -host";
inline constexpr QStringView kModPrefix = u" -mod=";

// The main window's launch state: nine command-line fragments in the order in which they
// are composed. Each is empty or a switch that begins with its own blank, so composing is
// plain concatenation. Values after a prefix are kept verbatim: the game gets exactly what
// the player typed or picked.
struct LaunchOptions {
  QString WindowArg = {};
  QString NoSplashArg = {};
  QString NoPauseArg = {};
  QString ScriptErrorsArg = {};
  QString ConnectArg = {};
  QString PortArg = {};
  QString PasswordArg = {};
  QString HostArg = {};
  QString ModArg = {};

  // The state every run starts from; it matches the check boxes' initial states.
  static LaunchOptions StartupDefaults();
};

// The nine fragments, in the order in which the command line is composed.
std::array<QStringView, 9> OrderedFragments(const LaunchOptions& options);

// `prefix` followed by `value`, or empty when `value` is empty. Blanks count as a value.
QString ValueFragment(QStringView prefix, const QString& value);

// Sets the three connection fragments from the boxes' texts, each verbatim. True when the
// address and the port are both given; the password is optional.
bool SetConnection(LaunchOptions& options, const QString& address, const QString& port,
                   const QString& password);

// The path text followed directly by every fragment in their fixed order: nothing is
// inserted, trimmed or quoted, so the preview shows exactly what the player chose.
QString ComposeCommandLine(const QString& pathText, const LaunchOptions& options);

}  // namespace kelvor
