#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>

#include "support/files.h"
#include "ui/executable_picker.h"
#include "ui/main_window.h"
#include "ui/message_box.h"

using namespace kelvor;
using namespace kelvor::testing;
using enum QMessageBox::Icon;  // a box's kind
using Boxes = QList<QMessageBox::Icon>;

const QString kDefaults = " -noSplash -noPause -showScriptErrors";

// Each scenario drives the launcher's windows as a player would, in a folder of its own with
// a stand-in game saved as "Dravik 2/Dravik2.exe", the mods "a", "", "my mod" and "b", and the
// main window open over them.
class LauncherTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { MessageBox::setRecording(true); }

  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(dir_->path());  // the game starts in the launcher's working folder
    QDir().mkpath("Dravik 2");
    QFile::copy(KELVOR_FAKE_GAME_PATH, game());
    qputenv("KELVOR_GAME_RECORDS", QFile::encodeName(dir_->path()));
    start(game().toLocal8Bit() + "\r\n", "a\r\n\r\nmy mod\r\nb\r\n");
  }

  void cleanup() {
    delete window_;
    QCOMPARE(shownBoxes(), Boxes());  // every scenario checks every box it raised
    QDir::setCurrent(QDir::tempPath());
  }

  // Each window as drawn and walked with Tab; About shows the project's version, and Enter
  // closes it.
  void forms() {
    checkForm({"Param1Check",     "Param2Check",     "Param3Check", "Param4Check", "IPText",
               "PortText",        "PassText",        "HostCheck",   "ApplyButton", "ClearButton",
               "SaveButton",      "LocationButton",  "List1",       "AddButton",   "RemoveButton",
               "ApplyModsButton", "ClearModsButton", "ExitButton",  "CloseCheck",  "LaunchButton"});
    click("mnuAbout");
    QCOMPARE(find<QLabel>("Label4")->text(), "ver. " KELVOR_VERSION);
    checkForm({"Command1"});
    press(Qt::Key_Return);
    QVERIFY(!subform() && !greyed());
    click("AddButton");
    checkForm({"Text1", "Command1", "Command2"});
  }

  // Either file that fails is told in one box, and the other is read all the same. Save list
  // saves only over a list file that is there.
  void startUp() {
    start({}, "a, b");
    QCOMPARE(mods(), QStringList({"a", "b"}));
    QCOMPARE(preview(), "Oops! Something's gone wrong!");
    start("\r\n", {});
    QCOMPARE(preview(), kDefaults);
    click("mnuSaveMODs");
    QCOMPARE(shownBoxes(), Boxes({Critical, Critical, Critical}));
    QCOMPARE(ReadBytes("modDta"), "<missing>");
    start("\r\n", "");  // a first start's files
  }

  // Each switch has its fixed place, whatever the order of the clicks, and is in the line while
  // its box is checked. Apply takes the server boxes as typed, blanks and all, or, without an
  // address or a port, warns and keeps the line. Each Clear takes out only its own switches.
  void switchesAndServer() {
    for (const char* box :
         {"Param4Check", "HostCheck", "Param2Check", "Param1Check", "Param3Check"})
      click(box);
    type("PassText", " ");
    QCOMPARE(find<QLineEdit>("PassText")->displayText(), "*");
    click("ApplyButton");
    QCOMPARE(shownBoxes(), Boxes{Warning});
    QCOMPARE(preview(), game() + " -window -host");
    type("IPText", "my server ");
    type("PortText", "abc");
    click("ApplyButton");
    for (const char* box : {"Param3Check", "Param2Check", "Param4Check"}) click(box);
    selectMod(0);
    click("ApplyModsButton");
    const QString switches = game() + " -window" + kDefaults;
    const QString server = " -connect=my server  -port=abc -password= ";
    QCOMPARE(preview(), switches + server + " -host -mod=a");
    click("ClearModsButton");
    QCOMPARE(preview(), switches + server + " -host");
    click("ClearButton");
    QCOMPARE(preview(), switches + " -host");
    type("PortText", "1");
    click("ApplyButton");
    QCOMPARE(shownBoxes(), Boxes{Warning});
    type("IPText", "h");
    click("ApplyButton");  // the password is optional
    QCOMPARE(preview(), switches + " -connect=h -port=1 -host");
  }

  // A failed start is an error, and the launcher stays despite "Close after launch". Enter on
  // Launch starts the game with each switch whole, even after a warning, in the working folder;
  // then the launcher closes.
  void launch() {
    const QString password = "$(touch pwned); `touch pwned` | ' \" && %PATH% ^ \\";
    click("CloseCheck");
    choosePath(dir_->filePath("Dravik 2"));
    click("mnuLaunch");
    QCOMPARE(shownBoxes(), Boxes{Critical});
    QVERIFY(window_->isVisible());
    choosePath(game());
    type("PortText", "1 2");
    type("PassText", password);
    click("ApplyButton");
    QCOMPARE(shownBoxes(), Boxes{Warning});
    selectMod(2);
    click("ApplyModsButton");
    find("LaunchButton")->setFocus();
    press(Qt::Key_Return);
    QCOMPARE(firstGame(), QStringList({game(), QDir::toNativeSeparators(dir_->path()), "-noSplash",
                                       "-noPause", "-showScriptErrors", "-port=1 2",
                                       "-password=" + password, "-mod=my mod"}));
    QTRY_VERIFY(!window_);
  }

  // A picked path shows in its box at once and, as it is, in the line once saved: quoted in the
  // file for its comma. A cancelled pick changes nothing; a path that the file could not give
  // back is refused, and the file and the line stay as they were.
  void pickAndSavePath() {
    choosePath(" D:\\a, b.exe ");
    choosePath(QString());
    QCOMPARE(preview(), game() + kDefaults);
    click("SaveButton");
    QCOMPARE(shownBoxes(), Boxes{Information});
    QCOMPARE(preview(), " D:\\a, b.exe " + kDefaults);
    choosePath("D:\\a\"b, c.exe");
    press(Qt::CTRL | Qt::Key_S);
    QCOMPARE(shownBoxes(), Boxes{Critical});
    QCOMPARE(preview(), " D:\\a, b.exe " + kDefaults);
    QCOMPARE(ReadBytes("appSet"), "\" D:\\a, b.exe \"\r\n");
  }

  // Apply takes the selected name, which cannot be edited in the list; an empty entry, or none,
  // is nothing to apply. Remove asks first, then takes out the selected name and saves.
  void modCommands() {
    for (int row : {1, -1, 2}) {
      selectMod(row);
      click("ApplyModsButton");
    }
    QCOMPARE(shownBoxes(), Boxes({Warning, Warning}));
    QCOMPARE(preview(), game() + kDefaults + " -mod=my mod");
    MessageBox::setNextAnswer(QMessageBox::No);
    click("RemoveButton");
    selectMod(-1);
    click("RemoveButton");
    selectMod(0);
    press(Qt::Key_F2);
    QCOMPARE(QApplication::focusWidget(), find("List1"));  // no editor opened over the name
    click("mnuRemove");
    QCOMPARE(ReadBytes("modDta"), "\r\nmy mod\r\nb\r\n");
    QCOMPARE(shownBoxes(), Boxes({Question, Question, Warning, Question, Information}));
  }

  // Add Mods, over the main window that waits greyed: Enter adds the name typed, blanks and all,
  // but not an empty one. Close saves the whole list, telling first when the file is new, or
  // stays open, refusing a name that the file could not give back.
  void addModWindow() {
    const QByteArray saved = "a\r\n\r\nmy mod\r\nb\r\n\"a, 2\"\r\n\" \"\r\n";
    QFile::remove("modDta");
    click("mnuAdd");
    press(Qt::Key_Return);
    type("Text1", "a, 2");
    press(Qt::Key_Return);
    type("Text1", " ");
    click("Command1");
    QVERIFY(greyed());
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes({Warning, Warning, Information}));
    QCOMPARE(boxWindows_, QStringList({"AddMod", "AddMod", "Main"}));
    QCOMPARE(ReadBytes("modDta"), saved);
    QVERIFY(!greyed());
    click("AddButton");
    type("Text1", "a\"b,c");
    click("Command1");
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes{Critical});
    QVERIFY(subform() && greyed());
    QCOMPARE(ReadBytes("modDta"), saved);
  }

  // Exit asks first: No keeps the launcher as it was, Yes closes it.
  void quit() {
    MessageBox::setNextAnswer(QMessageBox::No);
    click("mnuExit");
    QVERIFY(window_->isVisible());
    click("ExitButton");
    QCOMPARE(shownBoxes(), Boxes({Question, Question}));
    QTRY_VERIFY(!window_);
  }

 private:
  // Opens a main window as the launcher does, over these files (a null array: no file).
  void start(const QByteArray& appSet, const QByteArray& modDta) {
    delete window_;
    for (const auto& [name, bytes] : {std::pair{"appSet", appSet}, {"modDta", modDta}}) {
      QFile::remove(name);
      if (!bytes.isNull()) WriteBytes(name, bytes);
    }
    window_ = new MainWindow(dir_->path());
    window_->Load();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_));
  }

  // The window that takes input, as drawn: every control inside its frame, in Calibri or its
  // twin at the size its form gives it, its caption or picture whole; and Tab's way through it.
  void checkForm(const QStringList& tabOrder) {
    QStringList faults;
    for (QWidget* control : form()->findChildren<QWidget*>()) {
      const QString name = control->objectName();
      if (name.isEmpty() || name.startsWith("qt_") || control->isWindow()) continue;
      if (!control->parentWidget()->rect().contains(control->geometry())) faults << name + " out";
      QWidget* sized = control;
      while (!sized->property("pointSizeF").isValid()) sized = sized->parentWidget();
      const QString family = QFontInfo(control->font()).family();
      if (control->font().pointSizeF() != sized->property("pointSizeF").toDouble() ||
          (family != "Calibri" && family != "Carlito"))
        faults << name + " in " + family + " " + QString::number(control->font().pointSizeF());
      const auto* button = qobject_cast<QPushButton*>(control);
      const auto* label = qobject_cast<QLabel*>(control);
      const int room = control->width() -
                       (button ? 2 * control->style()->pixelMetric(QStyle::PM_ButtonMargin) : 0);
      const int needed = button ? control->fontMetrics().horizontalAdvance(button->text())
                         : (label && !label->wordWrap()) || qobject_cast<QCheckBox*>(control)
                             ? control->sizeHint().width()
                             : 0;
      if (needed > room) faults << name + " cut";
    }
    QCOMPARE(faults.join(", "), QString());
    QStringList order;
    for (QWidget* at; (at = activeFocus()) && !order.contains(at->objectName());) {
      order << at->objectName();
      QTest::keyClick(at, Qt::Key_Tab);
    }
    QCOMPARE(order, tabOrder);
  }

  // A menu item runs; a click lands near the control's left edge, where a check box has its box.
  void click(const QString& name) {
    if (auto* item = window_->findChild<QAction*>(name))
      item->trigger();
    else if (QWidget* control = find(name))
      QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
  }

  // Keys go to the control that has the keyboard, in the window that takes input.
  void press(const QKeySequence& keys) { QTest::keySequence(activeFocus(), keys); }

  void type(const QString& name, const QString& text) {
    auto* box = find<QLineEdit>(name);
    box->clear();
    QTest::keyClicks(box, text);
  }

  void selectMod(int row) {
    auto* list = find<QListView>("List1");
    list->clearSelection();
    const QRect cell = list->visualRect(list->model()->index(row, 0));
    if (cell.isValid()) QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  }

  void choosePath(const QString& path) {  // a null path cancels the file dialog
    ExecutablePicker::setNextFileName(path);
    click("LocationButton");
  }

  // The kinds of box shown since the last look, each checked for what all boxes share; the
  // windows they showed over are kept in boxWindows_.
  Boxes shownBoxes() {
    Boxes kinds;
    boxWindows_.clear();
    for (const MessageBox::Shown& box : std::exchange(MessageBox::shownBoxes(), {})) {
      [&] {
        QCOMPARE(box.title, "Kelvor Launcher");
        QCOMPARE(box.textFormat, Qt::PlainText);
        QCOMPARE(box.defaultButton, box.icon == Question ? QMessageBox::Yes : QMessageBox::Ok);
      }();
      kinds.append(box.icon);
      boxWindows_.append(box.parent);
    }
    return kinds;
  }

  // The first game started, as the stand-in recorded it: program, working folder, arguments.
  // A game that should not have started would come first.
  QStringList firstGame() {
    const auto first = [] {
      return QDir().entryList({"*[0-9]"}, QDir::Files, QDir::Time | QDir::Reversed).value(0);
    };
    [&] { QTRY_VERIFY_WITH_TIMEOUT(!first().isEmpty(), 10000); }();
    return QString::fromLocal8Bit(ReadBytes(first()).chopped(1)).split('\n');
  }

  // The control of that name on the window that takes input. A missing one fails the scenario,
  // which goes on harmlessly with an unseen stand-in.
  template <typename Control = QWidget>
  Control* find(const QString& name) {
    auto* found = form()->findChild<Control*>(name);
    [&] { QVERIFY2(found, qPrintable("no control named " + name)); }();
    return found ? found : new Control(&standIns_);
  }

  // The control with the keyboard, once the window that takes input is active.
  QWidget* activeFocus() {
    form()->activateWindow();
    [&] { QTRY_COMPARE(QApplication::activeWindow(), form()); }();
    return QApplication::focusWidget();
  }

  QString preview() { return find<QLabel>("HintLabel")->text(); }
  QStringList mods() {
    return qobject_cast<QStringListModel*>(find<QListView>("List1")->model())->stringList();
  }
  QString game() { return QDir::toNativeSeparators(dir_->filePath("Dravik 2/Dravik2.exe")); }
  bool greyed() { return !window_->centralWidget()->isEnabled(); }
  QWidget* subform() { return QApplication::activeModalWidget(); }
  QWidget* form() { return subform() ? subform() : window_.data(); }

  std::unique_ptr<QTemporaryDir> dir_;
  QPointer<MainWindow> window_;  // gone once the launcher has unloaded it
  QStringList boxWindows_;
  QWidget standIns_;
};

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
