#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"
#include "support/hostile_fs.h"
#include "support/player.h"
#include "support/scripted_platform.h"
#include "ui/main_window.h"

using namespace kelvor::testing;

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startUp_data();
  void startUp();
  void saveButtonAndCtrlSSaveThePath_data();
  void saveButtonAndCtrlSSaveThePath();
  void failedSaveKeepsFileAndPreview_data();
  void failedSaveKeepsFileAndPreview();
  void longListLoadsWhileTheWindowWorks_data();
  void longListLoadsWhileTheWindowWorks();

 private:
  void Start(const QByteArray& appSet, const QByteArray& modDta);
  QString Text(const char* name) const {
    return window_->findChild<QWidget*>(name)->property("text").toString();
  }

  QTemporaryDir dir_;
  ScriptedPlatform platform_;
  ScriptedDialogs& dialogs_ = platform_.dialogs;
  std::unique_ptr<kelvor::MainWindow> window_;
};

void MainWindowTest::Start(const QByteArray& appSet, const QByteArray& modDta) {
  QFile::remove(dir_.filePath("appSet"));
  QFile::remove(dir_.filePath("modDta"));
  PlaceFile(dir_.filePath("appSet"), appSet);
  PlaceFile(dir_.filePath("modDta"), modDta);
  platform_ = {};
  window_ = std::make_unique<kelvor::MainWindow>(dir_.path(), platform_.Get());
  window_->Load();
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void MainWindowTest::startUp_data() {
  QTest::addColumn<QByteArray>("appSet");  // null: no file
  QTest::addColumn<QByteArray>("modDta");
  QTest::addColumn<QString>("pathBox");
  QTest::addColumn<QString>("preview");
  QTest::addColumn<QStringList>("mods");
  QTest::addColumn<QStringList>("shown");
  const QString oops = QStringLiteral("Oops! Something's gone wrong!");
  const QString defaults = QStringLiteral(" -noSplash -noPause -showScriptErrors");
  // clang-format off
  QTest::newRow("both files") << QByteArray("C:\\Dravik 2\\x.exe\r\n") << QByteArray("a\r\nb\r\n") << "C:\\Dravik 2\\x.exe" << "C:\\Dravik 2\\x.exe" + defaults << QStringList{"a", "b"} << QStringList{};
  QTest::newRow("path file missing: one box, mods listed") << QByteArray() << QByteArray("a\r\n") << "" << oops << QStringList{"a"} << QStringList{kErrorBox};
  QTest::newRow("mod list missing: one box, path shown") << QByteArray("g.exe\r\n") << QByteArray() << "g.exe" << "g.exe" + defaults << QStringList{} << QStringList{kErrorBox};
  QTest::newRow("both missing: still one box") << QByteArray() << QByteArray() << "" << oops << QStringList{} << QStringList{kErrorBox};
  QTest::newRow("markup shown as typed") << QByteArray("<b>g</b>.exe") << QByteArray("<i>m</i>") << "<b>g</b>.exe" << "<b>g</b>.exe" + defaults << QStringList{"<i>m</i>"} << QStringList{};
  // clang-format on
}

void MainWindowTest::startUp() {
  QFETCH(QByteArray, appSet);
  QFETCH(QByteArray, modDta);
  QFETCH(QString, pathBox);
  QFETCH(QString, preview);
  QFETCH(QStringList, mods);
  QFETCH(QStringList, shown);
  Start(appSet, modDta);
  QCOMPARE(Text("FileLocationText"), pathBox);
  QCOMPARE(Text("HintLabel"), preview);
  QCOMPARE(kelvor::testing::ListedMods(window_.get()), mods);
  QCOMPARE(dialogs_.shown, shown);
}

void MainWindowTest::saveButtonAndCtrlSSaveThePath_data() {
  QTest::addColumn<bool>("useShortcut");
  QTest::newRow("Save... button") << false;
  QTest::newRow("Ctrl+S") << true;
}

void MainWindowTest::saveButtonAndCtrlSSaveThePath() {
  QFETCH(bool, useShortcut);
  Start("C:\\a, b\\Dravik2.exe\r\n", "");  // read up to the comma
  window_->findChild<QLineEdit*>("FileLocationText")->setText("C:\\new, place\\x.exe");

  const QString before = Text("HintLabel");
  QString previewWhileBoxOpen;
  dialogs_.onShow = [&] { previewWhileBoxOpen = Text("HintLabel"); };
  if (useShortcut) {
    QTest::keyClick(window_.get(), Qt::Key_S, Qt::ControlModifier);
  } else {
    QTest::mouseClick(window_->findChild<QPushButton*>("SaveButton"), Qt::LeftButton);
  }
  QCOMPARE(dialogs_.shown, QStringList{"success: Executable file location saved!"});
  QCOMPARE(previewWhileBoxOpen, before);  // recomposed once the box is closed
  QCOMPARE(Text("HintLabel"),
           QStringLiteral("C:\\new, place\\x.exe -noSplash -noPause -showScriptErrors"));
  QCOMPARE(ReadBytes(dir_.filePath("appSet")), QByteArray("\"C:\\new, place\\x.exe\"\r\n"));
}

void MainWindowTest::failedSaveKeepsFileAndPreview_data() {
  QTest::addColumn<bool>("readOnlyFile");
  QTest::newRow("read-only path file") << true;
  QTest::newRow("launcher folder not writable") << false;
}

void MainWindowTest::failedSaveKeepsFileAndPreview() {
  QFETCH(bool, readOnlyFile);
  Start("old.exe\r\n", "");
  window_->findChild<QLineEdit*>("FileLocationText")->setText(QStringLiteral("new.exe"));
  const QString before = Text("HintLabel");

  QFile::setPermissions(dir_.path(), readOnlyFile ? kOpenFolder : kClosedFolder);
  if (readOnlyFile) QFile::setPermissions(dir_.filePath("appSet"), kReadOnlyFile);
  {
    PlayerPermissions player;
    QTest::mouseClick(window_->findChild<QPushButton*>("SaveButton"), Qt::LeftButton);
  }
  QFile::setPermissions(dir_.path(), kOpenFolder);
  QFile::setPermissions(dir_.filePath("appSet"), kOpenFolder);

  QCOMPARE(dialogs_.shown, QStringList{kErrorBox});
  QCOMPARE(ReadBytes(dir_.filePath("appSet")), QByteArray("old.exe\r\n"));
  QCOMPARE(Text("HintLabel"), before);
  QCOMPARE(Text("FileLocationText"), QStringLiteral("new.exe"));  // still there to retry
}

void MainWindowTest::longListLoadsWhileTheWindowWorks_data() {
  QTest::addColumn<QByteArray>("appSet");
  QTest::addColumn<QStringList>("shown");
  QTest::newRow("both files read") << QByteArray("g.exe\r\n") << QStringList{};
  QTest::newRow("path file missing: one box, once the list is in")
      << QByteArray() << QStringList{kErrorBox};
}

void MainWindowTest::longListLoadsWhileTheWindowWorks() {
  QFETCH(QByteArray, appSet);
  QFETCH(QStringList, shown);
  QByteArray modDta;
  for (int i = 0; i < 120'000; ++i) modDta += "mod " + QByteArray::number(i) + "\r\n";
  QFile::remove(dir_.filePath("appSet"));
  PlaceFile(dir_.filePath("appSet"), appSet);
  WriteBytes(dir_.filePath("modDta"), modDta);
  platform_ = {};
  window_ = std::make_unique<kelvor::MainWindow>(dir_.path(), platform_.Get());
  auto* list = window_->findChild<QListView*>("List1");
  auto* mods = window_->findChild<QWidget*>("ModsFrame");
  QStringList listWhenBoxShown;
  dialogs_.onShow = [&] { listWhenBoxShown.append(QString::number(list->model()->rowCount())); };
  window_->Load();
  window_->show();

  // The window is up and working before the list is in; nothing can save a partial list.
  QCOMPARE(list->model()->rowCount(), 0);
  QVERIFY(!mods->isEnabled());
  QVERIFY(!window_->findChild<QAction*>("mnuSaveMODs")->isEnabled());
  QVERIFY(window_->findChild<QWidget*>("LaunchButton")->isEnabled());
  QVERIFY(dialogs_.shown.isEmpty());

  QTRY_COMPARE(list->model()->rowCount(), 120'000);
  QVERIFY(mods->isEnabled());
  QVERIFY(window_->findChild<QAction*>("mnuSaveMODs")->isEnabled());
  QCOMPARE(list->model()->index(119'999, 0).data().toString(), QStringLiteral("mod 119999"));
  QCOMPARE(dialogs_.shown, shown);
  if (!shown.isEmpty()) QCOMPARE(listWhenBoxShown, QStringList{"120000"});
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
