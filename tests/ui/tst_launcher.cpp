#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include "support/files.h"
#include "ui/executable_picker.h"
#include "ui/main_window.h"
#include "ui/message_box.h"

using namespace kelvor;
using namespace kelvor::testing;
using enum QMessageBox::Icon;
using Boxes = QList<QMessageBox::Icon>;

const QString kDefaults = " -noSplash -noPause -showScriptErrors";

// Each scenario: a folder of its own, a stand-in "Dravik 2.exe", mods "a", "", "my mod", "b".
class LauncherTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { MessageBox::setRecording(true); }

  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(dir_->path());  // where the game starts
    QFile::copy(KELVOR_FAKE_GAME_PATH, game());
    start(game().toLocal8Bit() + "\r\n", "a\r\n\r\nmy mod\r\nb\r\n");
  }

  void cleanup() {
    delete window_;
    QCOMPARE(shownBoxes(), Boxes());  // each scenario checks all its boxes
    QDir::setCurrent(QDir::tempPath());
  }

  // Every window as drawn and walked with Tab; About shows the version.
  void forms() {
    checkForm(
        "Param1Check Param2Check Param3Check Param4Check IPText PortText PassText HostCheck "
        "ApplyButton ClearButton SaveButton LocationButton List1 AddButton RemoveButton "
        "ApplyModsButton ClearModsButton ExitButton CloseCheck LaunchButton");
    click("mnuAbout");
    QCOMPARE(find<QLabel>("Label4")->text(), "ver. " KELVOR_VERSION);
    checkForm("Command1");
    press(Qt::Key_Return);
    click("AddButton");  // About has closed
    checkForm("Text1 Command1 Command2");
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes{Information});
    QVERIFY(!subform() && !greyed());
  }

  // A file that fails is told; the other is read all the same. Save list needs its file.
  void startUp() {
    start({}, "a, b");
    QCOMPARE(find<QListView>("List1")->model()->rowCount(), 2);
    QCOMPARE(preview(), "Oops! Something's gone wrong!");
    start("\r\n", {});
    QCOMPARE(preview(), kDefaults);
    click("mnuSaveMODs");
    QCOMPARE(shownBoxes(), Boxes({Critical, Critical, Critical}));
    QCOMPARE(ReadBytes("modDta"), "<missing>");
    start("\r\n", "");  // a first start's files
  }

  // Each switch in its place while its box is checked; Apply warns without address or port.
  void switchesAndServer() {
    for (auto box : {"Param4Check", "HostCheck", "Param2Check", "Param1Check", "Param3Check"})
      click(box);
    type("PortText", "1");
    click("ApplyButton");
    QCOMPARE(preview(), game() + " -window -host");
    type("IPText", "my server ");
    type("PortText", "abc");
    type("PassText", " ");
    QCOMPARE(find<QLineEdit>("PassText")->displayText(), "*");
    click("ApplyButton");
    for (const char* box : {"Param3Check", "Param2Check", "Param4Check"}) click(box);
    selectMod(0);
    click("ApplyModsButton");
    const QString switches = game() + " -window" + kDefaults;
    QCOMPARE(preview(), switches + " -connect=my server  -port=abc -password=  -host -mod=a");
    click("ClearButton");
    QCOMPARE(preview(), switches + " -host -mod=a");
    click("ClearModsButton");
    QCOMPARE(preview(), switches + " -host");
    type("IPText", "h");
    click("ApplyButton");  // the port was cleared
    type("PortText", "1");
    click("ApplyButton");  // the password, cleared too, is optional
    QCOMPARE(preview(), switches + " -connect=h -port=1 -host");
    QCOMPARE(shownBoxes(), Boxes({Warning, Warning}));
  }

  // A failed start keeps the launcher; Enter on Launch starts the game with each switch whole.
  void launch() {
    const QString password = "$(x) `x` | ' \" && %PATH% ^ \\";
    click("CloseCheck");
    choosePath(dir_->path());
    click("mnuLaunch");
    choosePath(game());
    type("PortText", "1 2");
    type("PassText", password);
    click("ApplyButton");
    selectMod(2);
    click("ApplyModsButton");
    find("LaunchButton")->setFocus();
    press(Qt::Key_Return);
    [] { QTRY_VERIFY_WITH_TIMEOUT(QFile::exists("game"), 10000); }();
    QCOMPARE(QString::fromLocal8Bit(ReadBytes("game")).split('\n'),
             QStringList({game(), "-noSplash", "-noPause", "-showScriptErrors", "-port=1 2",
                          "-password=" + password, "-mod=my mod", ""}));
    QTRY_VERIFY(!window_);
    QCOMPARE(shownBoxes(), Boxes({Critical, Warning}));
  }

  // A picked path shows in the line once saved; one the file cannot keep is refused. Exit asks.
  void pickSaveAndQuit() {
    const QString picked = " D:\\a, b.exe ";
    choosePath(picked);
    choosePath(QString());
    QCOMPARE(preview(), game() + kDefaults);
    click("SaveButton");
    QCOMPARE(preview(), picked + kDefaults);
    choosePath("D:\\a\"b, c.exe");
    press(Qt::CTRL | Qt::Key_S);
    MessageBox::setNextAnswer(QMessageBox::No);
    click("mnuExit");
    QCOMPARE(preview(), picked + kDefaults);
    QCOMPARE(ReadBytes("appSet"), "\" D:\\a, b.exe \"\r\n");
    click("ExitButton");
    QCOMPARE(shownBoxes(), Boxes({Information, Critical, Question, Question}));
    QTRY_VERIFY(!window_);
  }

  // Apply needs a selected name, not empty; Remove asks first, then removes and saves.
  void modCommands() {
    for (int row : {1, -1, 2}) {
      selectMod(row);
      click("ApplyModsButton");
    }
    QCOMPARE(preview(), game() + kDefaults + " -mod=my mod");
    MessageBox::setNextAnswer(QMessageBox::No);
    click("RemoveButton");
    selectMod(-1);
    click("RemoveButton");
    selectMod(0);
    QTest::keyClick(find("List1"), Qt::Key_F2);
    QVERIFY(!find("List1")->findChild<QLineEdit*>());  // no editor over the name
    click("mnuRemove");
    QCOMPARE(ReadBytes("modDta"), "\r\nmy mod\r\nb\r\n");
    QCOMPARE(shownBoxes(),
             Boxes({Warning, Warning, Question, Question, Warning, Question, Information}));
  }

  // Add Mods over the greyed main window: Enter adds a name, Close saves or refuses and stays.
  void addModWindow() {
    const QByteArray saved = "a\r\n\r\nmy mod\r\nb\r\n\"a, 2\"\r\n\" \"\r\n";
    QFile::remove("modDta");
    click("mnuAdd");
    press(Qt::Key_Return);
    type("Text1", "a, 2");
    press(Qt::Key_Return);
    type("Text1", " ");
    click("Command1");
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes({Warning, Warning, Information}));
    QCOMPARE(boxWindows_, QStringList({"AddMod", "AddMod", "Main"}));
    QCOMPARE(ReadBytes("modDta"), saved);
    click("AddButton");
    type("Text1", "a\"b,c");
    click("Command1");
    click("Command2");
    QCOMPARE(shownBoxes(), Boxes{Critical});
    QVERIFY(subform() && greyed());
    QCOMPARE(ReadBytes("modDta"), saved);
  }

 private:
  void start(const QByteArray& appSet, const QByteArray& modDta) {  // a null array: no file
    delete window_;
    QFile::remove("appSet"), QFile::remove("modDta");
    if (!appSet.isNull()) WriteBytes("appSet", appSet);
    if (!modDta.isNull()) WriteBytes("modDta", modDta);
    window_ = new MainWindow(dir_->path());
    window_->Load();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_));
  }

  // The form as drawn: each control inside its frame, in Calibri or its twin at the form's size,
  // caption or picture whole; then Tab's way.
  void checkForm(const char* tabOrder) {
    QStringList faults;
    for (QWidget* control : form()->findChildren<QWidget*>()) {
      const QString name = control->objectName();
      if (name.isEmpty() || name.startsWith("qt_") || control->isWindow()) continue;
      QWidget* sized = control;  // the nearest sized
      while (!sized->property("pointSizeF").isValid()) sized = sized->parentWidget();
      const QFontInfo font(control->font());
      const auto* label = qobject_cast<QLabel*>(control);
      const bool hinted = (label && !label->wordWrap()) || control->inherits("QCheckBox");
      int needed = hinted ? control->sizeHint().width() : 0;
      if (auto* button = qobject_cast<QPushButton*>(control))  // and the style's margins
        needed = control->fontMetrics().horizontalAdvance(button->text()) + 12;
      if (!control->parentWidget()->rect().contains(control->geometry()) ||
          needed > control->width() || !QStringList{"Calibri", "Carlito"}.contains(font.family()) ||
          font.pointSizeF() != sized->property("pointSizeF").toDouble())
        faults << name;
    }
    QCOMPARE(faults.join(' '), QString());
    QStringList order;
    for (QWidget* at; (at = activeFocus()) && !order.contains(at->objectName());) {
      order << at->objectName();
      QTest::keyClick(at, Qt::Key_Tab);
    }
    QCOMPARE(order.join(' '), tabOrder);
  }

  void click(const QString& name) {  // a menu item runs; a click lands on a check box's box
    if (auto* item = window_->findChild<QAction*>(name))
      item->trigger();
    else
      QTest::mouseClick(find(name), Qt::LeftButton, {}, QPoint(8, 8));
  }

  void press(const QKeySequence& keys) { QTest::keySequence(activeFocus(), keys); }

  void type(const QString& name, const QString& text) {
    find<QLineEdit>(name)->clear();
    QTest::keyClicks(find<QLineEdit>(name), text);
  }

  void selectMod(int row) {  // as the arrow keys do; -1 selects none
    auto* list = find<QListView>("List1");
    list->setCurrentIndex(list->model()->index(row, 0));
  }

  void choosePath(const QString& path) {  // a null path: cancelled
    ExecutablePicker::setNextFileName(path);
    click("LocationButton");
  }

  // The kinds of box shown since last asked (NoIcon: one unlike the rest), and where.
  Boxes shownBoxes() {
    Boxes kinds;
    boxWindows_.clear();
    for (const MessageBox::Shown& box : std::exchange(MessageBox::shownBoxes(), {})) {
      const auto yes = box.icon == Question ? QMessageBox::Yes : QMessageBox::Ok;
      const bool alike = box.title == "Kelvor Launcher" && box.textFormat == Qt::PlainText;
      kinds.append(alike && box.defaultButton == yes ? box.icon : NoIcon);
      boxWindows_.append(box.parent);
    }
    return kinds;
  }

  template <typename Control = QWidget>  // on the window that takes input
  Control* find(const QString& name) {
    return form()->findChild<Control*>(name);
  }

  QWidget* activeFocus() {
    form()->activateWindow();
    [&] { QTRY_COMPARE(QApplication::activeWindow(), form()); }();
    return QApplication::focusWidget();
  }

  QString preview() { return find<QLabel>("HintLabel")->text(); }
  QString game() { return QDir::toNativeSeparators(dir_->filePath("Dravik 2.exe")); }
  bool greyed() { return !window_->centralWidget()->isEnabled(); }
  QWidget* subform() { return QApplication::activeModalWidget(); }
  QWidget* form() { return subform() ? subform() : window_.data(); }

  std::unique_ptr<QTemporaryDir> dir_;
  QPointer<MainWindow> window_;  // null once unloaded
  QStringList boxWindows_;
};

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
