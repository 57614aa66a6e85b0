#include <QAction>
#include <QApplication>
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
#include "ui/add_mod_window.h"
#include "ui/main_window.h"

using namespace kelvor::testing;

// Saving the list, removing a mod and the add-mod window, driven as a player would.
class ModCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void saveList_data();
  void saveList();
  void removeSelectedMod_data();
  void removeSelectedMod();
  void addModWindowOpensOverAnUnavailableMain_data();
  void addModWindowOpensOverAnUnavailableMain();
  void enterAddsUnlessCloseHasTheFocus_data();
  void enterAddsUnlessCloseHasTheFocus();
  void closeSavesInTheDesignedOrder_data();
  void closeSavesInTheDesignedOrder();
  void failedCloseKeepsTheWindowOpen();

 private:
  QByteArray File() const { return ReadBytes(dir_->filePath("modDta")); }
  QStringList Mods() const { return kelvor::testing::ListedMods(window_.get()); }
  kelvor::AddModWindow* OpenAddMod(const QString& command = QStringLiteral("AddButton"));
  static void AddName(kelvor::AddModWindow* addMod, const QString& name);

  std::unique_ptr<QTemporaryDir> dir_;
  ScriptedPlatform platform_;
  ScriptedDialogs& dialogs_ = platform_.dialogs;
  std::unique_ptr<kelvor::MainWindow> window_;
};

void ModCommandsTest::init() {
  StartAfresh(dir_, platform_, window_, "g.exe\r\n", "a\r\nb\r\nc\r\n");
}

// The add-mod window has no owner: it is found among the top-level windows.
kelvor::AddModWindow* ModCommandsTest::OpenAddMod(const QString& command) {
  Click(window_.get(), command);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* addMod = qobject_cast<kelvor::AddModWindow*>(window);
    if (addMod && addMod->isVisible() && QTest::qWaitForWindowActive(addMod)) return addMod;
  }
  return nullptr;
}

void ModCommandsTest::AddName(kelvor::AddModWindow* addMod, const QString& name) {
  auto* text1 = addMod->findChild<QLineEdit*>("Text1");
  text1->clear();
  QTest::keyClicks(text1, name);
  QTest::keyClick(text1, Qt::Key_Return);
}

void ModCommandsTest::saveList_data() {
  QTest::addColumn<bool>("fileMissing");
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QByteArray>("file");
  QTest::newRow("replaces the file with the list")
      << false << QStringList{"success: Mod list saved!"} << QByteArray("a\r\nb\r\nc\r\n");
  QTest::newRow("missing file: the error box, nothing created")
      << true << QStringList{kErrorBox} << QByteArray("<missing>");
}

void ModCommandsTest::saveList() {
  QFETCH(bool, fileMissing);
  QFETCH(QStringList, shown);
  QFETCH(QByteArray, file);
  WriteBytes(dir_->filePath("modDta"), "edited outside\r\n");
  if (fileMissing) QFile::remove(dir_->filePath("modDta"));
  Click(window_.get(), "mnuSaveMODs");
  QCOMPARE(dialogs_.shown, shown);
  QCOMPARE(File(), file);
  QCOMPARE(Mods(), (QStringList{"a", "b", "c"}));
}

void ModCommandsTest::removeSelectedMod_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<int>("selected");
  QTest::addColumn<bool>("yes");
  QTest::addColumn<bool>("fileMissing");
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QStringList>("mods");
  QTest::addColumn<QByteArray>("file");
  const QString ask =
      QStringLiteral("question: This will remove the selected item!\n\nDo you want to proceed?");
  const QString removed = QStringLiteral("success: Selected item was removed!\n\nMod list saved!");
  const QString nothing = QStringLiteral("notice: Nothing was selected!");
  const QStringList all{"a", "b", "c"};
  const QByteArray unchanged = "a\r\nb\r\nc\r\n";
  // clang-format off
  for (const char* command : {"RemoveButton", "mnuRemove"}) {
    QTest::addRow("%s: removes and saves", command) << command << 1 << true << false << QStringList{ask, removed} << QStringList{"a", "c"} << QByteArray("a\r\nc\r\n");
    QTest::addRow("%s: nothing selected, Yes", command) << command << -1 << true << false << QStringList{ask, nothing} << all << unchanged;
    QTest::addRow("%s: nothing selected, No", command) << command << -1 << false << false << QStringList{ask} << all << unchanged;
    QTest::addRow("%s: selected, No", command) << command << 0 << false << false << QStringList{ask} << all << unchanged;
    QTest::addRow("%s: file missing", command) << command << 2 << true << true << QStringList{ask, kErrorBox} << QStringList{"a", "b"} << QByteArray("<missing>");
  }
  // clang-format on
}

void ModCommandsTest::removeSelectedMod() {
  QFETCH(QString, command);
  QFETCH(int, selected);
  QFETCH(bool, yes);
  QFETCH(bool, fileMissing);
  QFETCH(QStringList, shown);
  QFETCH(QStringList, mods);
  QFETCH(QByteArray, file);
  SelectMod(window_.get(), selected);
  if (fileMissing) QFile::remove(dir_->filePath("modDta"));
  dialogs_.answers = {yes};
  const QString preview = window_->findChild<QLabel*>("HintLabel")->text();
  Click(window_.get(), command);
  QCOMPARE(dialogs_.shown, shown);
  QCOMPARE(Mods(), mods);
  QCOMPARE(File(), file);
  QCOMPARE(window_->findChild<QLabel*>("HintLabel")->text(), preview);
}

void ModCommandsTest::addModWindowOpensOverAnUnavailableMain_data() {
  QTest::addColumn<QString>("command");
  QTest::newRow("<- Add button") << "AddButton";
  QTest::newRow("<- Add menu item") << "mnuAdd";
}

void ModCommandsTest::addModWindowOpensOverAnUnavailableMain() {
  QFETCH(QString, command);
  for (int opening = 1; opening <= 2; ++opening) {
    const QPointer<kelvor::AddModWindow> addMod = OpenAddMod(command);
    QVERIFY(addMod);
    QVERIFY(!addMod->parent());  // no owner
    QVERIFY(!window_->isEnabled());
    QCOMPARE(addMod->findChild<QLineEdit*>("Text1")->text(), QString());  // afresh each time
    AddName(addMod, QStringLiteral("typed"));
    addMod->close();  // the title bar's close: nothing is written
    QVERIFY(window_->isEnabled());
    QTRY_VERIFY(addMod.isNull());
    QCOMPARE(Mods().count("typed"), opening);
    QCOMPARE(File(), QByteArray("a\r\nb\r\nc\r\n"));
  }
  QVERIFY(dialogs_.shown.isEmpty());
}

void ModCommandsTest::enterAddsUnlessCloseHasTheFocus_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("focus");
  QTest::addColumn<QStringList>("added");
  QTest::addColumn<QStringList>("shown");
  // clang-format off
  QTest::newRow("in the text box") << "Vallmark" << "Text1" << QStringList{"Vallmark"} << QStringList{};
  QTest::newRow("on Add Item") << "Vallmark" << "Command1" << QStringList{"Vallmark"} << QStringList{};
  QTest::newRow("blanks only are a name") << " " << "Text1" << QStringList{" "} << QStringList{};
  QTest::newRow("empty text refused") << "" << "Text1" << QStringList{} << QStringList{"notice: Field can't be empty!\n\nAny name must be defined!"};
  QTest::newRow("on Close: saves and closes") << "Vallmark" << "Command2" << QStringList{} << QStringList{"success: Mod list saved!"};
  // clang-format on
}

void ModCommandsTest::enterAddsUnlessCloseHasTheFocus() {
  QFETCH(QString, text);
  QFETCH(QString, focus);
  QFETCH(QStringList, added);
  QFETCH(QStringList, shown);
  const QPointer<kelvor::AddModWindow> addMod = OpenAddMod();
  QTest::keyClicks(addMod->findChild<QLineEdit*>("Text1"), text);
  addMod->findChild<QWidget*>(focus)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

  QCOMPARE(Mods(), QStringList({"a", "b", "c"}) + added);
  QCOMPARE(dialogs_.shown, shown);
  const bool closed = focus == "Command2";
  QTRY_COMPARE(addMod.isNull(), closed);
  if (!closed) {
    QCOMPARE(addMod->findChild<QLineEdit*>("Text1")->text(), text);  // kept for the next Add
    QTest::keyClick(addMod->findChild<QLineEdit*>("Text1"), Qt::Key_Return);
    QCOMPARE(Mods(), QStringList({"a", "b", "c"}) + added + added);  // the same name again
  }
  QCOMPARE(File(), QByteArray("a\r\nb\r\nc\r\n"));  // only Close writes
}

void ModCommandsTest::closeSavesInTheDesignedOrder_data() {
  QTest::addColumn<bool>("fileMissing");
  QTest::addColumn<QStringList>("shown");  // each box with the windows' state behind it
  QTest::newRow("file present: saved, then the window closes")
      << false << QStringList{"success: Mod list saved! [add-mod open, main off]"};
  QTest::newRow("file missing: notice, the window closes, then saved")
      << true
      << QStringList{
             "notice: Core file for the Mod list doesn't exist!\n\nThe new one will be created! "
             "[add-mod open, main off]",
             "success: Mod list saved! [add-mod closed, main on]"};
}

void ModCommandsTest::closeSavesInTheDesignedOrder() {
  QFETCH(bool, fileMissing);
  QFETCH(QStringList, shown);
  if (fileMissing) QFile::remove(dir_->filePath("modDta"));
  kelvor::AddModWindow* addMod = OpenAddMod();
  AddName(addMod, QStringLiteral("new, one"));
  dialogs_.onShow = [&] {
    dialogs_.shown.last() +=
        QStringLiteral(" [add-mod %1, main %2]")
            .arg(addMod->isVisible() ? "open" : "closed", window_->isEnabled() ? "on" : "off");
  };
  QTest::mouseClick(addMod->findChild<QPushButton*>("Command2"), Qt::LeftButton);

  QCOMPARE(dialogs_.shown, shown);
  QVERIFY(window_->isEnabled());
  QCOMPARE(File(), QByteArray("a\r\nb\r\nc\r\n\"new, one\"\r\n"));
}

void ModCommandsTest::failedCloseKeepsTheWindowOpen() {
  kelvor::AddModWindow* addMod = OpenAddMod();
  AddName(addMod, QStringLiteral("d"));
  QFile::setPermissions(dir_->filePath("modDta"), kReadOnlyFile);
  QFile::setPermissions(dir_->path(), kOpenFolder);
  {
    PlayerPermissions player;
    QTest::mouseClick(addMod->findChild<QPushButton*>("Command2"), Qt::LeftButton);
  }
  QCOMPARE(dialogs_.shown, QStringList{kErrorBox});
  QVERIFY(addMod->isVisible());
  QVERIFY(!window_->isEnabled());
  QCOMPARE(Mods(), (QStringList{"a", "b", "c", "d"}));
  QCOMPARE(File(), QByteArray("a\r\nb\r\nc\r\n"));

  QFile::setPermissions(dir_->filePath("modDta"), kOpenFolder);
  QTest::mouseClick(addMod->findChild<QPushButton*>("Command2"), Qt::LeftButton);  // again
  QCOMPARE(File(), QByteArray("a\r\nb\r\nc\r\nd\r\n"));
  QVERIFY(window_->isEnabled());
}

QTEST_MAIN(ModCommandsTest)
#include "tst_mod_commands.moc"
