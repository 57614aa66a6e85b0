#include <QTest>

#include "core/launch_options.h"

using kelvor::ComposeCommandLine;
using kelvor::LaunchOptions;

class LaunchOptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void composesInFixedOrder_data();
  void composesInFixedOrder();
  void valueFragmentsKeepTheTextVerbatim_data();
  void valueFragmentsKeepTheTextVerbatim();
};

namespace {

LaunchOptions AllOn() {
  LaunchOptions o = LaunchOptions::StartupDefaults();
  o.WindowArg = QStringLiteral(" -window");
  o.ConnectArg = QStringLiteral(" -connect=10.0.0.1");
  o.PortArg = QStringLiteral(" -port=2302");
  o.PasswordArg = QStringLiteral(" -password=pw");
  o.HostArg = QStringLiteral(" -host");
  o.ModArg = QStringLiteral(" -mod=Vallmark");
  return o;
}

}  // namespace

void LaunchOptionsTest::composesInFixedOrder_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<LaunchOptions>("options");
  QTest::addColumn<QString>("line");

  const LaunchOptions defaults = LaunchOptions::StartupDefaults();
  QTest::newRow("start-up switches follow the path with no other blanks")
      << "C:\\Games\\Dravik2.exe" << defaults
      << "C:\\Games\\Dravik2.exe -noSplash -noPause -showScriptErrors";
  QTest::newRow("no fragments: the path alone") << "game.exe" << LaunchOptions{} << "game.exe";
  QTest::newRow("empty path: the line starts with a blank")
      << "" << defaults << " -noSplash -noPause -showScriptErrors";
  QTest::newRow("empty path, no fragments: empty") << "" << LaunchOptions{} << "";
  QTest::newRow("window goes right after the path, whenever it was switched on") << "g.exe" << [] {
    auto o = LaunchOptions::StartupDefaults();
    o.WindowArg = " -window";
    return o;
  }() << "g.exe -window -noSplash -noPause -showScriptErrors";
  QTest::newRow("all nine in order: connection, host, then mod")
      << "g.exe" << AllOn()
      << "g.exe -window -noSplash -noPause -showScriptErrors -connect=10.0.0.1 -port=2302"
         " -password=pw -host -mod=Vallmark";
  QTest::newRow("host and connection together, host after the connection") << "g.exe" << [] {
    LaunchOptions o;
    o.HostArg = " -host";
    o.ConnectArg = " -connect=a";
    o.PortArg = " -port=1";
    return o;
  }() << "g.exe -connect=a -port=1 -host";
  QTest::newRow("a path with a blank stays unquoted")
      << "C:\\Program Files\\Dravik 2\\Dravik2.exe" << LaunchOptions{}
      << "C:\\Program Files\\Dravik 2\\Dravik2.exe";
  QTest::newRow("a path with blanks at both ends is kept as it is") << "  g.exe  " << [] {
    LaunchOptions o;
    o.HostArg = " -host";
    return o;
  }() << "  g.exe   -host";
}

void LaunchOptionsTest::composesInFixedOrder() {
  QFETCH(QString, path);
  QFETCH(LaunchOptions, options);
  QFETCH(QString, line);
  QCOMPARE(ComposeCommandLine(path, options), line);
}

void LaunchOptionsTest::valueFragmentsKeepTheTextVerbatim_data() {
  QTest::addColumn<QString>("value");
  QTest::addColumn<QString>("fragment");
  QTest::newRow("empty means off") << ""
                                   << "";
  QTest::newRow("blanks only count as a value") << "  "
                                                << " -connect=  ";
  QTest::newRow("leading and trailing blanks kept") << " 10.0.0.1 "
                                                    << " -connect= 10.0.0.1 ";
  QTest::newRow("no check of form") << "my server"
                                    << " -connect=my server";
  QTest::newRow("quotes are not escaped") << "a\"b"
                                          << " -connect=a\"b";
}

void LaunchOptionsTest::valueFragmentsKeepTheTextVerbatim() {
  QFETCH(QString, value);
  QFETCH(QString, fragment);
  QCOMPARE(kelvor::ValueFragment(kelvor::kConnectPrefix, value), fragment);
}

QTEST_APPLESS_MAIN(LaunchOptionsTest)
#include "tst_launch_options.moc"
