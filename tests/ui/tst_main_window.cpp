#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"
#include "support/hostile_fs.h"
#include "support/scripted_dialogs.h"
#include "ui/main_window.h"

using namespace kelvor::testing;
using Shown = ScriptedDialogs::Shown;

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void startUp_data();
  void startUp();
  void saveButtonAndCtrlSSaveThePath_data();
  void saveButtonAndCtrlSSaveThePath();
  void failedSaveKeepsFileAndPreview_data();
  void failedSaveKeepsFileAndPreview();
  void showsPathsAsPlainText();

 private:
  QString File(const char* name) const { return dir_->filePath(QString::fromLatin1(name)); }
  void Start();
  QString Hint() const { return window_->findChild<QLabel*>("HintLabel")->text(); }
  QString PathBox() const { return window_->findChild<QLineEdit*>("FileLocationText")->text(); }
  QStringList Mods() const;

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<ScriptedDialogs> dialogs_;
  std::unique_ptr<kelvor::MainWindow> window_;
};

void MainWindowTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  dialogs_ = std::make_unique<ScriptedDialogs>();
}

void MainWindowTest::cleanup() { window_.reset(); }

void MainWindowTest::Start() {
  window_ = std::make_unique<kelvor::MainWindow>(dir_->path(), *dialogs_);
  window_->Load();
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

QStringList MainWindowTest::Mods() const {
  const QAbstractItemModel* model = window_->findChild<QListView*>("List1")->model();
  QStringList names;
  for (int row = 0; row < model->rowCount(); ++row)
    names.append(model->index(row, 0).data().toString());
  return names;
}

void MainWindowTest::startUp_data() {
  QTest::addColumn<QByteArray>("appSet");  // "<missing>": no file
  QTest::addColumn<QByteArray>("modDta");
  QTest::addColumn<QString>("pathBox");
  QTest::addColumn<QString>("preview");
  QTest::addColumn<QStringList>("mods");
  QTest::addColumn<bool>("errorBox");
  const QString oops = QStringLiteral("Oops! Something's gone wrong!");
  const QString defaults = QStringLiteral(" -noSplash -noPause -showScriptErrors");

  QTest::newRow("both files") << QByteArray("C:\\Dravik 2\\Dravik2.exe\r\n")
                              << QByteArray("Vallmark\r\nSkal\r\n") << "C:\\Dravik 2\\Dravik2.exe"
                              << "C:\\Dravik 2\\Dravik2.exe" + defaults
                              << QStringList{"Vallmark", "Skal"} << false;
  QTest::newRow("path file missing: one box, mods still listed")
      << QByteArray("<missing>") << QByteArray("Vallmark\r\n") << "" << oops
      << QStringList{"Vallmark"} << true;
  QTest::newRow("path file of 0 bytes")
      << QByteArray() << QByteArray("a\r\n") << "" << oops << QStringList{"a"} << true;
  QTest::newRow("path file of a line end: empty path, no box")
      << QByteArray("\r\n") << QByteArray() << "" << defaults << QStringList{} << false;
  QTest::newRow("mod list missing: one box, path and preview set")
      << QByteArray("g.exe\r\n") << QByteArray("<missing>") << "g.exe"
      << "g.exe" + defaults << QStringList{} << true;
  QTest::newRow("both missing: still one box")
      << QByteArray("<missing>") << QByteArray("<missing>") << "" << oops << QStringList{} << true;
  QTest::newRow("hostile path file") << QByteArray("\0\xff\xfe", 3) << QByteArray("a\r\n") << ""
                                     << oops << QStringList{"a"} << true;
}

void MainWindowTest::startUp() {
  QFETCH(QByteArray, appSet);
  QFETCH(QByteArray, modDta);
  QFETCH(QString, pathBox);
  QFETCH(QString, preview);
  QFETCH(QStringList, mods);
  QFETCH(bool, errorBox);
  if (appSet != "<missing>") WriteBytes(File("appSet"), appSet);
  if (modDta != "<missing>") WriteBytes(File("modDta"), modDta);

  Start();
  QCOMPARE(PathBox(), pathBox);
  QCOMPARE(Hint(), preview);
  QCOMPARE(Mods(), mods);
  QCOMPARE(dialogs_->shown, errorBox ? QList<Shown>{ErrorBox()} : QList<Shown>{});
  if (appSet != "<missing>") QCOMPARE(ReadBytes(File("appSet")), appSet);  // never rewritten
  if (modDta != "<missing>") QCOMPARE(ReadBytes(File("modDta")), modDta);
}

void MainWindowTest::saveButtonAndCtrlSSaveThePath_data() {
  QTest::addColumn<bool>("useShortcut");
  QTest::newRow("Save... button") << false;
  QTest::newRow("Ctrl+S") << true;
}

void MainWindowTest::saveButtonAndCtrlSSaveThePath() {
  QFETCH(bool, useShortcut);
  WriteBytes(File("appSet"), "C:\\a, b\\Dravik2.exe\r\n");  // read only up to the comma
  WriteBytes(File("modDta"), "");
  Start();
  QCOMPARE(PathBox(), QStringLiteral("C:\\a"));
  window_->findChild<QCheckBox*>("Param2Check")->setChecked(false);  // no handler yet: slots stay

  QString previewWhileBoxOpen;
  dialogs_->onShow = [&] { previewWhileBoxOpen = Hint(); };
  const QString before = Hint();
  if (useShortcut) {
    QTest::keyClick(window_.get(), Qt::Key_S, Qt::ControlModifier);
  } else {
    QTest::mouseClick(window_->findChild<QPushButton*>("SaveButton"), Qt::LeftButton);
  }

  QCOMPARE(dialogs_->shown,
           (QList<Shown>{{Shown::Kind::kSuccess, "Executable file location saved!"}}));
  QCOMPARE(previewWhileBoxOpen, before);  // recomposed only once the box is closed
  QCOMPARE(ReadBytes(File("appSet")), QByteArray("C:\\a\r\n"));
  QCOMPARE(Hint(), QStringLiteral("C:\\a -noSplash -noPause -showScriptErrors"));
}

void MainWindowTest::failedSaveKeepsFileAndPreview_data() {
  QTest::addColumn<QString>("situation");
  QTest::newRow("read-only path file") << "read-only";
  QTest::newRow("launcher folder not writable") << "folder";
}

void MainWindowTest::failedSaveKeepsFileAndPreview() {
  QFETCH(QString, situation);
  const QByteArray old = "old.exe\r\n";
  WriteBytes(File("appSet"), old);
  WriteBytes(File("modDta"), "");
  Start();
  window_->findChild<QLineEdit*>("FileLocationText")->setText(QStringLiteral("new.exe"));
  const QString before = Hint();

  QFile::setPermissions(dir_->path(), situation == "folder" ? kClosedFolder : kOpenFolder);
  if (situation == "read-only") QFile::setPermissions(File("appSet"), kReadOnlyFile);
  {
    PlayerPermissions player;
    QTest::mouseClick(window_->findChild<QPushButton*>("SaveButton"), Qt::LeftButton);
  }
  QFile::setPermissions(dir_->path(), kOpenFolder);

  QCOMPARE(dialogs_->shown, QList<Shown>{ErrorBox()});
  QCOMPARE(ReadBytes(File("appSet")), old);
  QCOMPARE(Hint(), before);
  QCOMPARE(PathBox(), QStringLiteral("new.exe"));  // the player's choice is still there to retry
}

void MainWindowTest::showsPathsAsPlainText() {
  WriteBytes(File("appSet"), "<b>C:\\game</b>.exe\r\n");
  WriteBytes(File("modDta"), "");
  Start();
  QCOMPARE(Hint(), QStringLiteral("<b>C:\\game</b>.exe -noSplash -noPause -showScriptErrors"));
  QCOMPARE(window_->findChild<QLabel*>("HintLabel")->textFormat(), Qt::PlainText);
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
