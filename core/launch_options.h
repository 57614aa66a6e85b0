#pragma once

#include <QString>
#include <QStringList>
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

// The main window's launch state: the command-line fragments. Each is empty or a switch that
// begins with its own blank, so composing is plain concatenation. Values after a prefix are
// kept verbatim: the game gets exactly what the player typed or picked.
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

// The fragments in the order in which the command line is composed, the one place it is written.
inline constexpr std::array kFragmentOrder = {
    &LaunchOptions::WindowArg,       &LaunchOptions::NoSplashArg, &LaunchOptions::NoPauseArg,
    &LaunchOptions::ScriptErrorsArg, &LaunchOptions::ConnectArg,  &LaunchOptions::PortArg,
    &LaunchOptions::PasswordArg,     &LaunchOptions::HostArg,     &LaunchOptions::ModArg};

// The fragments' texts, in that order.
std::array<QStringView, kFragmentOrder.size()> OrderedFragments(const LaunchOptions& options);

// `prefix` followed by `value`, or empty when `value` is empty. Blanks count as a value.
QString ValueFragment(QStringView prefix, const QString& value);

// A fragment that carries the text of a multiplayer box.
struct ConnectionFragment {
  QString LaunchOptions::*slot;
  QStringView prefix;
  bool required;  // Apply needs its box filled
};

// The multiplayer boxes' fragments, in the order of the boxes that fill them.
inline constexpr std::array kConnectionFragments = {
    ConnectionFragment{&LaunchOptions::ConnectArg, kConnectPrefix, true},
    ConnectionFragment{&LaunchOptions::PortArg, kPortPrefix, true},
    ConnectionFragment{&LaunchOptions::PasswordArg, kPasswordPrefix, false}};

// Sets the connection fragments from the boxes' `texts`, in kConnectionFragments' order, each
// verbatim. True when every required box is filled; the fragments are set either way.
bool SetConnection(LaunchOptions& options,
                   const std::array<QString, kConnectionFragments.size()>& texts);

// The path text followed directly by every fragment in their fixed order: nothing is
// inserted, trimmed or quoted. The preview shows this for the path in the box and the
// fragments last applied; a launch composes it afresh from both.
QString ComposeCommandLine(const QString& pathText, const LaunchOptions& options);

}  // namespace kelvor
