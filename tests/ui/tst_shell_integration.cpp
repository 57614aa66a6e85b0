#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include "support/files.h"
#include "support/player.h"
#include "support/scripted_platform.h"
#include "ui/about_window.h"
#include "ui/main_window.h"
#include "ui/qt_help_viewer.h"
#include "ui/qt_notification_area.h"

using namespace kelvor::testing;

// Receives the URLs that the desktop would open, in place of a real viewer.
class UrlRecorder : public QObject {
  Q_OBJECT

 public slots:
  void Open(const QUrl& url) { opened.append(url); }

 public:
  QList<QUrl> opened;
};

// Counts the times a window became the active one.
class ActivationCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::WindowActivate) ++count;
    return false;
  }
  int count = 0;
};

// The notification-area icon, help and About, driven as a player would.
class ShellIntegrationTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void iconClicks_data();
  void iconClicks();
  void minimizeRestoreMinimizeKeepsOneIconAndTheState();
  void everyUnloadRemovesTheIcon_data();
  void everyUnloadRemovesTheIcon();
  void withoutANotificationAreaTheWindowStaysReachable();
  void helpOpensTheFileBesideTheLauncher_data();
  void helpOpensTheFileBesideTheLauncher();
  void realHelpViewerOpensOnlyAnExistingFile();
  void aboutOpensOverAnUnavailableMain_data();
  void aboutOpensOverAnUnavailableMain();

 private:
  QString Preview() const { return window_->findChild<QLabel*>("HintLabel")->text(); }
  void Minimize() { QTest::keyClick(window_.get(), Qt::Key_M, Qt::ControlModifier); }

  std::unique_ptr<QTemporaryDir> dir_;
  ScriptedPlatform platform_;
  std::unique_ptr<kelvor::MainWindow> window_;
};

void ShellIntegrationTest::init() {
  StartAfresh(dir_, platform_, window_, "g.exe\r\n", "a\r\nb\r\n");
}

void ShellIntegrationTest::iconClicks_data() {
  QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
  QTest::addColumn<bool>("restores");
  QTest::newRow("left button pressed") << QSystemTrayIcon::Trigger << true;
  QTest::newRow("right button released") << QSystemTrayIcon::Context << true;
  QTest::newRow("double-click") << QSystemTrayIcon::DoubleClick << false;
  QTest::newRow("middle button") << QSystemTrayIcon::MiddleClick << false;
  QTest::newRow("anything else") << QSystemTrayIcon::Unknown << false;
}

// Through the real icon, whose clicks arrive as the desktop reports them, and through the
// main window.
void ShellIntegrationTest::iconClicks() {
  QFETCH(QSystemTrayIcon::ActivationReason, reason);
  QFETCH(bool, restores);
  QCOMPARE(kelvor::ActionFor(reason) == kelvor::IconAction::kRestore, restores);

  kelvor::QtNotificationArea area;
  int restored = 0;
  area.ShowIcon(window_->windowIcon(), QStringLiteral("tip"), [&] { ++restored; });
  auto* icon = area.findChild<QSystemTrayIcon*>();
  QVERIFY(icon->isVisible());
  QCOMPARE(icon->toolTip(), QStringLiteral("tip"));
  QCOMPARE(icon->icon().cacheKey(), window_->windowIcon().cacheKey());
  emit icon->activated(reason);
  QCoreApplication::processEvents();
  QCOMPARE(restored, restores ? 1 : 0);
  area.RemoveIcon();
  QVERIFY(!icon->isVisible());

  Minimize();
  platform_.notificationArea.Click(reason);
  QCOMPARE(window_->isVisible(), restores);
  QCOMPARE(platform_.notificationArea.shown, !restores);
}

void ShellIntegrationTest::minimizeRestoreMinimizeKeepsOneIconAndTheState() {
  Play(window_.get(), platform_.picker,
       {"Param1Check", "HostCheck", "IPText=10.0.0.1", "PortText=2302", "PassText=pw",
        "ApplyButton", "List1:1", "ApplyModsButton", "pick:/games/new.exe", "CloseCheck"});
  const QString preview = Preview();
  auto& icon = platform_.notificationArea;
  for (int round = 1; round <= 2; ++round) {
    Minimize();
    QVERIFY(!window_->isVisible());
    QVERIFY(icon.shown);
    QCOMPARE(icon.icons, round);
    QCOMPARE(icon.tip, QStringLiteral("Restore Kelvor Launcher"));
    QVERIFY(icon.iconIsSet);

    icon.Click(QSystemTrayIcon::Trigger);
    QVERIFY(window_->isVisible());
    QVERIFY(!icon.shown);
    QCOMPARE(Preview(), preview);
    const QStringList failed = Play(
        window_.get(), platform_.picker,
        {"FileLocationText?=/games/new.exe", "IPText?=10.0.0.1", "PortText?=2302", "PassText?=pw"});
    QVERIFY2(failed.isEmpty(), qPrintable(failed.join('\n')));
  }
  QVERIFY(window_->findChild<QCheckBox*>("CloseCheck")->isChecked());
  QCOMPARE(window_->findChild<QListView*>("List1")->currentIndex().row(), 1);
  QVERIFY(platform_.dialogs.shown.isEmpty());
}

void ShellIntegrationTest::everyUnloadRemovesTheIcon_data() {
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<QList<bool>>("answers");
  QTest::newRow("Exit, Yes") << QStringList{"ExitButton"} << QList<bool>{true};
  QTest::newRow("launch with Close after launch")
      << QStringList{"CloseCheck", "LaunchButton"} << QList<bool>{};
  QTest::newRow("hidden behind the icon, closed by the desktop")
      << QStringList{"mnuMinimize"} << QList<bool>{};
}

void ShellIntegrationTest::everyUnloadRemovesTheIcon() {
  QFETCH(QStringList, steps);
  QFETCH(QList<bool>, answers);
  platform_.dialogs.answers = answers;
  Play(window_.get(), platform_.picker, steps);
  if (!window_->isHidden() || platform_.notificationArea.shown) window_->close();
  QVERIFY(!window_->isVisible());
  QVERIFY(!platform_.notificationArea.shown);
  QCOMPARE(platform_.notificationArea.removals, 1);
}

void ShellIntegrationTest::withoutANotificationAreaTheWindowStaysReachable() {
  platform_.notificationArea.available = false;
  Minimize();
  QCOMPARE(platform_.notificationArea.icons, 0);
  QVERIFY(window_->isVisible());  // minimised the ordinary way, still on the taskbar
  QTRY_VERIFY(window_->isMinimized());
}

void ShellIntegrationTest::helpOpensTheFileBesideTheLauncher_data() {
  QTest::addColumn<QString>("command");
  QTest::newRow("F1 in a text box") << "F1";
  QTest::newRow("Help Contents") << "mnuHelpContents";
}

void ShellIntegrationTest::helpOpensTheFileBesideTheLauncher() {
  QFETCH(QString, command);
  if (command == "F1") {
    auto* box = window_->findChild<QLineEdit*>("IPText");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F1);
  } else {
    Click(window_.get(), command);
  }
  QCOMPARE(platform_.help.opened, QStringList{dir_->filePath("Kelvor_Launcher_Help.chm")});
  QVERIFY(window_->isEnabled());
  QVERIFY(platform_.dialogs.shown.isEmpty());
}

void ShellIntegrationTest::realHelpViewerOpensOnlyAnExistingFile() {
  UrlRecorder viewer;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &viewer, "Open");
  kelvor::QtHelpViewer help;
  const QString file = dir_->filePath("Kelvor_Launcher_Help.chm");
  help.OpenHelp(file);  // not there yet
  QDir().mkdir(file);   // nor is a folder of that name a help file
  help.OpenHelp(file);
  QVERIFY(viewer.opened.isEmpty());
  QDir().rmdir(file);
  WriteBytes(file, "ITSF");
  help.OpenHelp(file);
  QCOMPARE(viewer.opened, QList<QUrl>{QUrl::fromLocalFile(file)});
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void ShellIntegrationTest::aboutOpensOverAnUnavailableMain_data() {
  QTest::addColumn<QString>("closeBy");
  QTest::newRow("OK") << "OK";
  QTest::newRow("Enter") << "Enter";
  QTest::newRow("title bar") << "title bar";
  QTest::newRow("Escape") << "Escape";
}

void ShellIntegrationTest::aboutOpensOverAnUnavailableMain() {
  QFETCH(QString, closeBy);
  QStringList firstContent;
  for (int opening = 1; opening <= 2; ++opening) {
    Click(window_.get(), QStringLiteral("mnuAbout"));
    QPointer<kelvor::AboutWindow> about;
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
      if (auto* window = qobject_cast<kelvor::AboutWindow*>(topLevel)) about = window;
    }
    QVERIFY(about && about->isVisible());
    QVERIFY(!window_->isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(about));
    // A click on the greyed main window activates it for a moment, then About comes back up.
    ActivationCounter mainActivations;
    window_->installEventFilter(&mainActivations);
    window_->activateWindow();
    QTRY_VERIFY(mainActivations.count > 0);
    QTRY_VERIFY(about->isActiveWindow());
    window_->removeEventFilter(&mainActivations);
    QStringList content;
    for (const char* label : {"Label1", "Label2", "Label3", "Label4"}) {
      content.append(about->findChild<QLabel*>(label)->text());
    }
    content.append(QString::number(about->findChild<QLabel*>("Picture1")->pixmap().width()));
    content.append(QApplication::focusWidget()->objectName());
    if (opening == 1) firstContent = content;
    QCOMPARE(content, firstContent);
    QCOMPARE(content.first(), QStringLiteral("Dravik2:Vallmark Mod Launcher"));
    QCOMPARE(content.mid(3), QStringList({"ver. 1.1", "128", "Command1"}));

    if (closeBy == "OK") {
      QTest::mouseClick(about->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    } else if (closeBy == "title bar") {
      about->windowHandle()->close();
    } else {
      QTest::keyClick(QApplication::focusWidget(),
                      closeBy == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
    }
    QTRY_VERIFY(about.isNull());
    QVERIFY(window_->isEnabled());
  }
  QVERIFY(platform_.dialogs.shown.isEmpty());
}

QTEST_MAIN(ShellIntegrationTest)
#include "tst_shell_integration.moc"
