#pragma once

#include <qpa/qwindowsysteminterface.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QStringListModel>
#include <QTest>

#include "support/files.h"
#include "ui/main_window.h"

namespace kelvor::testing {

// Records every message box as "kind: text", and " (over AddMod)" when it shows over that
// subform; answers questions from a script.
class ScriptedDialogs final : public PlayerDialogs {
 public:
  void Tell(MessageKind kind, const QString& text) override {
    Show(QStringList{"failure", "notice", "success"}[static_cast<int>(kind)], text);
  }
  bool Confirm(const QString& question) override {
    Show(QStringLiteral("question"), question);
    return !answers.isEmpty() && answers.takeFirst();
  }
  void Show(const QString& kind, const QString& text) {
    const QWidget* subform = QApplication::activeModalWidget();
    shown.append(kind + ": " + text +
                 (subform ? " (over " + subform->objectName() + ')' : QString()));
  }
  QStringList shown;
  QList<bool> answers;  // the player's Yes (true) and No (false), in order
};

// The Open dialog, answered with `choice`; the notification area, clicked with Click().
struct ScriptedDesktop final : ExecutablePicker, NotificationArea {
  std::optional<QString> PickExecutable() override { return choice; }
  bool IsAvailable() const override { return trayAvailable; }
  void ShowIcon(const QIcon&, const QString& tip, std::function<void()> restore) override {
    iconTip = tip;
    restore_ = std::move(restore);
  }
  void RemoveIcon() override { iconTip.clear(); }
  void Click(QSystemTrayIcon::ActivationReason reason) {
    if (!iconTip.isEmpty() && ActionFor(reason) == IconAction::kRestore) restore_();
  }
  std::optional<QString> choice;  // nothing: the player cancels
  bool trayAvailable = true;
  QString iconTip;  // empty while no icon is shown
  std::function<void()> restore_;
};

// A launcher folder in a fresh temporary folder, which is the current folder too, and a main
// window started over it as the launcher starts it, on a scripted desktop. The stand-in game
// is at "Dravik 2/Dravik2.exe" and writes what it was started with into records/; another copy
// waits where its path would be cut at the blank, at "Dravik", and must never run.
class Launcher {
 public:
  // In `appSet`, "<game>" stands for the game's path.
  Launcher(QByteArray appSet, QByteArray modDta) : appSet_(appSet), modDta_(modDta) {
    QDir(dir.path()).mkpath(QStringLiteral("Dravik 2"));
    QDir(dir.path()).mkpath(QStringLiteral("records"));
    QFile::copy(QStringLiteral(KELVOR_FAKE_GAME_PATH), Game());
    const QString exe = QStringLiteral(KELVOR_FAKE_GAME_PATH).section("fake_game", 1);  // ".exe"?
    QFile::copy(QStringLiteral(KELVOR_FAKE_GAME_PATH), Path("Dravik" + exe));  // as Windows cuts
    qputenv("KELVOR_GAME_RECORDS", QFile::encodeName(Path(QStringLiteral("records"))));
    QDir::setCurrent(dir.path());
    PlaceFile(Path(QStringLiteral("appSet")), appSet_.replace("<game>", Game().toLocal8Bit()));
    PlaceFile(Path(QStringLiteral("modDta")), modDta_);
    window = new MainWindow(dir.path(), Platform{dialogs, desktop, desktop});
    window->Load();
    window->show();
    if (!QTest::qWaitForWindowActive(window)) qFatal("the main window never showed");
  }
  ~Launcher() {
    delete window;
    QDir::setCurrent(previousFolder_);
  }

  QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
  QString Game() const { return QDir::toNativeSeparators(Path("Dravik 2/Dravik2.exe")); }

  // The control or menu item of that name on the open subform, or else on the main window.
  template <typename Control = QWidget>
  Control* Find(const QString& name, bool needed = true) const {
    QWidget* subform = QApplication::activeModalWidget();
    Control* found = subform ? subform->findChild<Control*>(name) : nullptr;
    if (!found && window) found = window->findChild<Control*>(name);
    if (!found && needed) qFatal("no control named %s", qPrintable(name));
    return found;
  }

  // Plays the player's steps and returns the checks that failed. A step, one string each:
  //   "Name" clicks that button, check box or menu item; "Name=text" types into a text box;
  //   "List1:row" clicks a row of the list (-1: none); "pick:path" picks with Find...
  //   ("pick:game": the game), "cancel" cancels it; "yes", "no" answer the next question;
  //   "key:Return" presses keys, "@Name" focuses a control; "title bar" closes
  //   the main window from its frame, "title bar:sub" the subform; "tray:Reason" clicks the
  //   icon, "tray:none" takes the notification area away; "delete:file", "read-only:file"
  //   and "writable:file" do that to a file in the folder.
  // A check: "Name?=text" a control's text; "mods?=a|b" the list; "file?=bytes" a file in the
  //   folder (\r and \n spelled out, "<missing>", or "<kept>": what start-up found there);
  //   "game?=a|b" the one game's arguments ("-": none started); "window?=" shown, hidden,
  //   greyed, minimized or closed; "tray?=" the icon's tip. "<game>" stands for the game's path.
  QStringList Play(const QStringList& steps) {
    QStringList failed;
    for (QString step : steps) {
      step.replace(QLatin1String("<game>"), Game());
      const QString arg = step.mid(step.indexOf(u':') + 1);
      if (const qsizetype at = step.indexOf(QLatin1String("?=")); at > 0) {
        // A game that should start is waited for; one that should not is given time to show.
        const bool none = step == QLatin1String("game?=-");
        if (step.startsWith(QLatin1String("game?=")))
          (void)QTest::qWaitFor([&] { return Actual("game") != "-" && !none; }, none ? 100 : 10000);
        const QString actual = Actual(step.left(at));
        if (actual != step.mid(at + 2)) failed.append(step + QLatin1String(" but ") + actual);
      } else if (step.startsWith(QLatin1String("pick:")) || step == QLatin1String("cancel")) {
        desktop.choice = arg == QLatin1String("game") ? Game() : arg;
        if (step == QLatin1String("cancel")) desktop.choice.reset();
        Click(QStringLiteral("LocationButton"));
      } else if (step == QLatin1String("yes") || step == QLatin1String("no")) {
        dialogs.answers.append(step == QLatin1String("yes"));
      } else if (step.startsWith(QLatin1String("List1:"))) {
        auto* list = Find<QListView>(QStringLiteral("List1"));
        list->clearSelection();
        const QRect cell = list->visualRect(list->model()->index(arg.toInt(), 0));
        if (cell.isValid()) QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
      } else if (step.startsWith(QLatin1String("tray:"))) {
        const QStringList reasons{"Unknown", "Context", "DoubleClick", "Trigger", "MiddleClick"};
        desktop.trayAvailable = arg != QLatin1String("none");
        desktop.Click(static_cast<QSystemTrayIcon::ActivationReason>(reasons.indexOf(arg)));
      } else if (step.startsWith(QLatin1String("delete:"))) {
        QFile::remove(Path(arg));
      } else if (step.startsWith(QLatin1String("read-only:")) || step.startsWith(u'w')) {
        QFile::setPermissions(
            Path(arg), step.startsWith(u'w') ? QFile::Permissions(0x6000) : QFile::ReadOwner);
      } else if (step.startsWith(QLatin1String("title bar"))) {
        QWidget* frame =
            arg == QLatin1String("sub") ? QApplication::activeModalWidget() : window.data();
        if (!frame) return failed << step + QLatin1String(": no subform open");
        QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
            frame->windowHandle());
      } else if (step.startsWith(QLatin1String("key:"))) {
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(arg));
      } else if (step.startsWith(u'@')) {
        Find(step.mid(1))->setFocus();
      } else if (const qsizetype equals = step.indexOf(QLatin1Char('=')); equals > 0) {
        auto* box = Find<QLineEdit>(step.left(equals));
        box->clear();
        const QString text = step.mid(equals + 1);  // beyond ASCII, as an input method types it
        text.toLatin1() == text.toUtf8() ? QTest::keyClicks(box, text) : box->insert(text);
      } else {
        Click(step);
      }
      // The next step goes to the window that now takes input, the open subform or else the
      // main window, once it is the active one: as a desktop's window manager would, the test
      // hands the activation back to the main window when a subform has gone.
      QWidget* active =
          QApplication::activeModalWidget() ? QApplication::activeModalWidget() : window.data();
      if (active && active->isVisible() && !active->isMinimized() && !active->isActiveWindow()) {
        active->activateWindow();
        (void)QTest::qWaitForWindowActive(active);
      }
    }
    return failed;
  }

  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  ScriptedDesktop desktop;
  QPointer<MainWindow> window;  // gone once the launcher has unloaded it

 private:
  QString Actual(const QString& what) const {
    if (what == QLatin1String("mods"))
      return qobject_cast<QStringListModel*>(Find<QListView>("List1")->model())
          ->stringList()
          .join('|');
    if (what == QLatin1String("game")) {  // each record: program, working folder, arguments
      const QDir records(Path(QStringLiteral("records")));
      const QStringList names = records.entryList({QStringLiteral("*[0-9]")}, QDir::Files);
      if (names.isEmpty()) return QStringLiteral("-");
      QStringList game = QString::fromLocal8Bit(ReadBytes(records.filePath(names[0]))).split(u'\n');
      if (names.size() > 1 ||
          game.mid(0, 2) != QStringList{Game(), QDir::toNativeSeparators(dir.path())})
        return names.join(u' ') + game.join(u'|');
      return game.mid(2, game.size() - 3).join(u'|');
    }
    if (what == QLatin1String("tray")) return desktop.iconTip;
    if (what == QLatin1String("window")) {
      (void)QTest::qWaitFor([&] { return !window; }, window && window->isHidden() ? 1000 : 0);
      if (!window) return QStringLiteral("closed");
      if (!window->isVisible()) return QStringLiteral("hidden");
      if (window->isMinimized()) return QStringLiteral("minimized");
      return window->isEnabled() ? QStringLiteral("shown") : QStringLiteral("greyed");
    }
    if (const QWidget* control = Find(what, false)) return control->property("text").toString();
    const QByteArray bytes = ReadBytes(Path(what));  // a file in the folder
    const QByteArray found = what.startsWith(QLatin1String("appSet")) ? appSet_ : modDta_;
    if (!found.isEmpty() && bytes == found) return QStringLiteral("<kept>");
    return QString::fromLocal8Bit(bytes).replace("\r", "\\r").replace("\n", "\\n");
  }

  // A click near a control's left edge, where a check box has its square.
  void Click(const QString& name) const {
    if (auto* item = Find<QObject>(name); item->inherits("QAction"))
      return Find<QAction>(name)->trigger();
    auto* button = Find<QAbstractButton>(name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
  }

  const QString previousFolder_ = QDir::currentPath();
  QByteArray appSet_;
  QByteArray modDta_;
};

}  // namespace kelvor::testing
