#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"
#include "support/hostile_fs.h"
#include "support/scripted_dialogs.h"
#include "ui/add_mod_window.h"
#include "ui/main_window.h"

using namespace kelvor::testing;
using Kind = ScriptedDialogs::Shown::Kind;
using Shown = ScriptedDialogs::Shown;

// Saving the list, removing a mod and the add-mod window, driven as a player would.
class ModCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
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
  void titleBarCloseWritesNothing();

 private:
  QString ModFile() const { return dir_->filePath(QStringLiteral("modDta")); }
  void Start(const QByteArray& modDta);
  QStringList Mods() const { return model()->stringList(); }
  QStringListModel* model() const {
    return qobject_cast<QStringListModel*>(window_->findChild<QListView*>("List1")->model());
  }
  void Select(int row);
  void Click(const char* name) {
    QTest::mouseClick(window_->findChild<QPushButton*>(name), Qt::LeftButton);
  }
  void Trigger(const char* name) { window_->findChild<QAction*>(name)->trigger(); }
  kelvor::AddModWindow* OpenAddMod();
  static kelvor::AddModWindow* ShownAddMod();

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<ScriptedDialogs> dialogs_;
  std::unique_ptr<kelvor::MainWindow> window_;
};

void ModCommandsTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  dialogs_ = std::make_unique<ScriptedDialogs>();
}

void ModCommandsTest::cleanup() { window_.reset(); }

void ModCommandsTest::Start(const QByteArray& modDta) {
  WriteBytes(dir_->filePath(QStringLiteral("appSet")), "g.exe\r\n");
  if (modDta != "<missing>") WriteBytes(ModFile(), modDta);
  window_ = std::make_unique<kelvor::MainWindow>(dir_->path(), *dialogs_);
  window_->Load();
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  dialogs_->shown.clear();
}

void ModCommandsTest::Select(int row) {
  auto* list = window_->findChild<QListView*>("List1");
  if (row < 0) {
    list->clearSelection();
    return;
  }
  const QRect cell = list->visualRect(list->model()->index(row, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

kelvor::AddModWindow* ModCommandsTest::OpenAddMod() {
  Click("AddButton");
  kelvor::AddModWindow* addMod = ShownAddMod();
  if (addMod) {
    addMod->activateWindow();
    if (!QTest::qWaitForWindowActive(addMod)) return nullptr;
  }
  return addMod;
}

// The add-mod window has no owner: it is found among the top-level windows.
kelvor::AddModWindow* ModCommandsTest::ShownAddMod() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* addMod = qobject_cast<kelvor::AddModWindow*>(window);
    if (addMod && addMod->isVisible()) return addMod;
  }
  return nullptr;
}

void ModCommandsTest::saveList_data() {
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QList<Shown>>("shown");
  QTest::addColumn<QByteArray>("after");
  QTest::newRow("replaces the file with the list")
      << QByteArray("x\r\n\"y\"\r\nz") << QList<Shown>{{Kind::kSuccess, "Mod list saved!"}}
      << QByteArray("x\r\ny\r\nz\r\n");
  QTest::newRow("missing file: the error box, nothing created")
      << QByteArray("<missing>") << QList<Shown>{ErrorBox()} << QByteArray("<missing>");
}

void ModCommandsTest::saveList() {
  QFETCH(QByteArray, before);
  QFETCH(QList<Shown>, shown);
  QFETCH(QByteArray, after);
  Start(before);
  const QStringList list = Mods();
  Trigger("mnuSaveMODs");
  QCOMPARE(dialogs_->shown, shown);
  QCOMPARE(ReadBytes(ModFile()), after);
  QCOMPARE(Mods(), list);
}

void ModCommandsTest::removeSelectedMod_data() {
  QTest::addColumn<QString>("via");
  QTest::addColumn<int>("selected");
  QTest::addColumn<bool>("yes");
  QTest::addColumn<bool>("fileMissing");
  QTest::addColumn<QList<Shown>>("shown");
  QTest::addColumn<QStringList>("mods");
  QTest::addColumn<QByteArray>("file");
  const Shown question{Kind::kQuestion,
                       "This will remove the selected item!\n\nDo you want to proceed?"};
  const Shown removed{Kind::kSuccess, "Selected item was removed!\n\nMod list saved!"};
  const Shown nothing{Kind::kNotice, "Nothing was selected!"};
  const QByteArray original = "a\r\nb\r\nc\r\n";

  for (const char* via : {"RemoveButton", "mnuRemove"}) {
    QTest::addRow("%s: removes and saves", via)
        << via << 1 << true << false << QList<Shown>{question, removed} << QStringList{"a", "c"}
        << QByteArray("a\r\nc\r\n");
    QTest::addRow("%s: nothing selected, Yes", via)
        << via << -1 << true << false << QList<Shown>{question, nothing}
        << QStringList{"a", "b", "c"} << original;
    QTest::addRow("%s: nothing selected, No", via)
        << via << -1 << false << false << QList<Shown>{question} << QStringList{"a", "b", "c"}
        << original;
    QTest::addRow("%s: selected, No", via) << via << 0 << false << false << QList<Shown>{question}
                                           << QStringList{"a", "b", "c"} << original;
    QTest::addRow("%s: file missing", via)
        << via << 2 << true << true << QList<Shown>{question, ErrorBox()} << QStringList{"a", "b"}
        << QByteArray("<missing>");
  }
}

void ModCommandsTest::removeSelectedMod() {
  QFETCH(QString, via);
  QFETCH(int, selected);
  QFETCH(bool, yes);
  QFETCH(bool, fileMissing);
  QFETCH(QList<Shown>, shown);
  QFETCH(QStringList, mods);
  QFETCH(QByteArray, file);
  Start("a\r\nb\r\nc\r\n");
  Select(selected);
  if (fileMissing) QFile::remove(ModFile());
  dialogs_->answers = {yes};

  if (via == "RemoveButton") {
    Click("RemoveButton");
  } else {
    Trigger("mnuRemove");
  }
  QCOMPARE(dialogs_->shown, shown);
  QCOMPARE(Mods(), mods);
  QCOMPARE(ReadBytes(ModFile()), file);
}

void ModCommandsTest::addModWindowOpensOverAnUnavailableMain_data() {
  QTest::addColumn<bool>("fromMenu");
  QTest::newRow("<- Add button") << false;
  QTest::newRow("<- Add menu item") << true;
}

void ModCommandsTest::addModWindowOpensOverAnUnavailableMain() {
  QFETCH(bool, fromMenu);
  Start("a\r\n");
  for (int opening = 0; opening < 2; ++opening) {
    if (fromMenu) {
      Trigger("mnuAdd");
    } else {
      Click("AddButton");
    }
    QVERIFY(!window_->findChild<kelvor::AddModWindow*>());  // no owner
    kelvor::AddModWindow* shown = ShownAddMod();
    QVERIFY(shown);
    QVERIFY(!window_->isEnabled());
    auto* text1 = shown->findChild<QLineEdit*>("Text1");
    QCOMPARE(text1->text(), QString());  // created afresh each time
    QTest::keyClicks(text1, "typed");
    const QPointer<kelvor::AddModWindow> alive(shown);
    shown->close();
    QVERIFY(window_->isEnabled());
    QTRY_VERIFY(alive.isNull());  // deleted once closed
  }
}

void ModCommandsTest::enterAddsUnlessCloseHasTheFocus_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("focus");
  QTest::addColumn<QStringList>("mods");
  QTest::addColumn<QList<Shown>>("shown");
  QTest::newRow("in the text box") << "Vallmark"
                                   << "Text1" << QStringList{"a", "Vallmark"} << QList<Shown>{};
  QTest::newRow("on Add Item") << "Vallmark"
                               << "Command1" << QStringList{"a", "Vallmark"} << QList<Shown>{};
  QTest::newRow("blanks only are a name") << " "
                                          << "Text1" << QStringList{"a", " "} << QList<Shown>{};
  QTest::newRow("empty text refused")
      << ""
      << "Text1" << QStringList{"a"}
      << QList<Shown>{{Kind::kNotice, "Field can't be empty!\n\nAny name must be defined!"}};
  QTest::newRow("on Close: saves and closes")
      << "Vallmark"
      << "Command2" << QStringList{"a"} << QList<Shown>{{Kind::kSuccess, "Mod list saved!"}};
}

void ModCommandsTest::enterAddsUnlessCloseHasTheFocus() {
  QFETCH(QString, text);
  QFETCH(QString, focus);
  QFETCH(QStringList, mods);
  QFETCH(QList<Shown>, shown);
  Start("a\r\n");
  kelvor::AddModWindow* addMod = OpenAddMod();
  QVERIFY(addMod);
  QPointer<kelvor::AddModWindow> alive(addMod);
  QTest::keyClicks(addMod->findChild<QLineEdit*>("Text1"), text);
  addMod->findChild<QWidget*>(focus)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

  QCOMPARE(Mods(), mods);
  QCOMPARE(dialogs_->shown, shown);
  const bool closed = focus == "Command2";
  QTRY_COMPARE(alive.isNull(), closed);
  if (!closed) {
    QCOMPARE(addMod->findChild<QLineEdit*>("Text1")->text(), text);  // kept for the next Add
    QTest::keyClick(addMod->findChild<QLineEdit*>("Text1"), Qt::Key_Return);
    if (!text.isEmpty()) QCOMPARE(Mods().count(text), 2);  // the same name twice is fine
  }
  QCOMPARE(ReadBytes(ModFile()), QByteArray("a\r\n"));  // Close saves the list as it was
}

void ModCommandsTest::closeSavesInTheDesignedOrder_data() {
  QTest::addColumn<bool>("fileMissing");
  QTest::addColumn<QStringList>("states");  // at each box: "window open/closed, main on/off"
  QTest::addColumn<QList<Shown>>("shown");
  QTest::newRow("file present: saved, then the window closes")
      << false << QStringList{"open off"} << QList<Shown>{{Kind::kSuccess, "Mod list saved!"}};
  QTest::newRow("file missing: notice, the window closes, then saved")
      << true << QStringList{"open off", "closed on"}
      << QList<Shown>{{Kind::kNotice,
                       "Core file for the Mod list doesn't exist!\n\nThe new one will be created!"},
                      {Kind::kSuccess, "Mod list saved!"}};
}

void ModCommandsTest::closeSavesInTheDesignedOrder() {
  QFETCH(bool, fileMissing);
  QFETCH(QStringList, states);
  QFETCH(QList<Shown>, shown);
  Start("a\r\nb\r\n");
  if (fileMissing) QFile::remove(ModFile());
  kelvor::AddModWindow* addMod = OpenAddMod();
  QTest::keyClicks(addMod->findChild<QLineEdit*>("Text1"), "new, one");
  QTest::keyClick(addMod->findChild<QLineEdit*>("Text1"), Qt::Key_Return);
  QCOMPARE(ReadBytes(ModFile()), fileMissing ? QByteArray("<missing>") : QByteArray("a\r\nb\r\n"));

  QStringList seen;
  dialogs_->onShow = [&] {
    seen.append(QStringLiteral("%1 %2").arg(addMod->isVisible() ? "open" : "closed",
                                            window_->isEnabled() ? "on" : "off"));
  };
  QTest::mouseClick(addMod->findChild<QPushButton*>("Command2"), Qt::LeftButton);

  QCOMPARE(dialogs_->shown, shown);
  QCOMPARE(seen, states);
  QVERIFY(window_->isEnabled());
  QCOMPARE(ReadBytes(ModFile()), QByteArray("a\r\nb\r\n\"new, one\"\r\n"));
}

void ModCommandsTest::failedCloseKeepsTheWindowOpen() {
  Start("a\r\n");
  kelvor::AddModWindow* addMod = OpenAddMod();
  QTest::keyClicks(addMod->findChild<QLineEdit*>("Text1"), "b");
  QTest::keyClick(addMod->findChild<QLineEdit*>("Text1"), Qt::Key_Return);
  QFile::setPermissions(ModFile(), kReadOnlyFile);
  QFile::setPermissions(dir_->path(), kOpenFolder);
  {
    PlayerPermissions player;
    QTest::mouseClick(addMod->findChild<QPushButton*>("Command2"), Qt::LeftButton);
  }
  QCOMPARE(dialogs_->shown, QList<Shown>{ErrorBox()});
  QVERIFY(addMod->isVisible());
  QVERIFY(!window_->isEnabled());
  QCOMPARE(Mods(), (QStringList{"a", "b"}));
  QCOMPARE(ReadBytes(ModFile()), QByteArray("a\r\n"));

  QFile::setPermissions(ModFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  QTest::mouseClick(addMod->findChild<QPushButton*>("Command2"), Qt::LeftButton);  // again
  QCOMPARE(ReadBytes(ModFile()), QByteArray("a\r\nb\r\n"));
  QVERIFY(window_->isEnabled());
}

void ModCommandsTest::titleBarCloseWritesNothing() {
  Start("a\r\n");
  kelvor::AddModWindow* addMod = OpenAddMod();
  QTest::keyClicks(addMod->findChild<QLineEdit*>("Text1"), "b");
  QTest::keyClick(addMod->findChild<QLineEdit*>("Text1"), Qt::Key_Return);
  addMod->close();
  QVERIFY(window_->isEnabled());
  QCOMPARE(Mods(), (QStringList{"a", "b"}));  // added, not saved
  QCOMPARE(ReadBytes(ModFile()), QByteArray("a\r\n"));
  QVERIFY(dialogs_->shown.isEmpty());
}

QTEST_MAIN(ModCommandsTest)
#include "tst_mod_commands.moc"
