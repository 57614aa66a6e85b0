#include <QTest>

#include "core/launch_options.h"

using kelvor::LaunchOptions;

class LaunchOptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void composesInFixedOrder_data();
  void composesInFixedOrder();
};

// `o` with the three start-up switches on as well.
static LaunchOptions WithDefaults(LaunchOptions o) {
  const LaunchOptions start = LaunchOptions::StartupDefaults();
  o.NoSplashArg = start.NoSplashArg;
  o.NoPauseArg = start.NoPauseArg;
  o.ScriptErrorsArg = start.ScriptErrorsArg;
  return o;
}

void LaunchOptionsTest::composesInFixedOrder_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<LaunchOptions>("options");
  QTest::addColumn<QString>("line");
  const LaunchOptions start = LaunchOptions::StartupDefaults();
  const LaunchOptions none;
  // clang-format off
  QTest::newRow("start-up switches, no other blanks") << "C:\\D2\\Dravik2.exe" << start << "C:\\D2\\Dravik2.exe -noSplash -noPause -showScriptErrors";
  QTest::newRow("no fragments: the path alone") << "g.exe" << none << "g.exe";
  QTest::newRow("empty path: starts with a blank") << "" << start << " -noSplash -noPause -showScriptErrors";
  QTest::newRow("empty path, no fragments: empty") << "" << none << "";
  QTest::newRow("window right after the path, whenever switched on")
      << "g.exe" << WithDefaults({.WindowArg = " -window", .ModArg = " -mod=m"}) << "g.exe -window -noSplash -noPause -showScriptErrors -mod=m";
  QTest::newRow("all nine in order")
      << "g.exe" << WithDefaults({.WindowArg = " -window", .ConnectArg = " -connect=1.2.3.4", .PortArg = " -port=2302", .PasswordArg = " -password=p", .HostArg = " -host", .ModArg = " -mod=M"})
      << "g.exe -window -noSplash -noPause -showScriptErrors -connect=1.2.3.4 -port=2302 -password=p -host -mod=M";
  QTest::newRow("host after the connection") << "g.exe" << LaunchOptions{.ConnectArg = " -connect=a", .HostArg = " -host"} << "g.exe -connect=a -host";
  QTest::newRow("path with blanks unquoted") << "C:\\Program Files\\D 2\\x.exe" << LaunchOptions{.HostArg = " -host"} << "C:\\Program Files\\D 2\\x.exe -host";
  QTest::newRow("values keep their blanks") << "g.exe" << LaunchOptions{.ConnectArg = kelvor::ValueFragment(kelvor::kConnectPrefix, " a b ")} << "g.exe -connect= a b ";
  QTest::newRow("blanks only are a value") << "g.exe" << LaunchOptions{.PortArg = kelvor::ValueFragment(kelvor::kPortPrefix, "  ")} << "g.exe -port=  ";
  QTest::newRow("an empty value is no fragment") << "g.exe" << LaunchOptions{.PortArg = kelvor::ValueFragment(kelvor::kPortPrefix, "")} << "g.exe";
  // clang-format on
}

void LaunchOptionsTest::composesInFixedOrder() {
  QFETCH(QString, path);
  QFETCH(LaunchOptions, options);
  QFETCH(QString, line);
  QCOMPARE(kelvor::ComposeCommandLine(path, options), line);
}

QTEST_APPLESS_MAIN(LaunchOptionsTest)
#include "tst_launch_options.moc"
