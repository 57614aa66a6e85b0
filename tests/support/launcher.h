#pragma once

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "support/files.h"
#include "ui/main_window.h"

namespace kelvor::testing {

// Records every message box as "kind: text" and answers questions from a script.
class ScriptedDialogs final : public PlayerDialogs {
 public:
  void Tell(MessageKind kind, const QString& text) override {
    const char* const kinds[] = {"failure", "notice", "success"};
    Record(QLatin1String(kinds[static_cast<int>(kind)]) + QLatin1String(": ") + text);
  }
  bool Confirm(const QString& question) override {
    Record(QLatin1String("question: ") + question);
    return !answers.isEmpty() && answers.takeFirst();
  }

  QStringList shown;
  QList<bool> answers;           // the player's Yes (true) and No (false), in order
  std::function<void()> onShow;  // runs while a box is "open"

 private:
  void Record(const QString& box) {
    shown.append(box);
    if (onShow) onShow();
  }
};

inline const QString kErrorBox = QStringLiteral("failure: Oops! Something's gone wrong!");

// The Open dialog: the player's choice is set before Find... is clicked; nothing cancels.
class ScriptedPicker final : public ExecutablePicker {
 public:
  std::optional<QString> PickExecutable() override { return choice; }
  std::optional<QString> choice;
};

// A notification area whose icon the test clicks.
class ScriptedNotificationArea final : public NotificationArea {
 public:
  bool IsAvailable() const override { return available; }
  void ShowIcon(const QIcon&, const QString& iconTip, std::function<void()> restore) override {
    shown = true;
    tip = iconTip;
    restore_ = std::move(restore);
  }
  void RemoveIcon() override {
    shown = false;
    ++removals;
  }
  void Click(QSystemTrayIcon::ActivationReason reason) {
    if (shown && ActionFor(reason) == IconAction::kRestore) restore_();
  }

  bool available = true;
  bool shown = false;
  int removals = 0;
  QString tip;

 private:
  std::function<void()> restore_;
};

// A launcher folder in a fresh temporary folder, which is the current folder too, and a main
// window started over it as the launcher starts it, on a scripted desktop. The stand-in game
// is installed at Game(), and writes what it was started with into records/; another copy
// waits where the game's path would be cut at its blank, and must never run.
class Launcher {
 public:
  // "<game>" in `appSet` stands for the game's path.
  Launcher(QByteArray appSet, const QByteArray& modDta) {
    QDir(dir.path()).mkpath(QStringLiteral("Dravik 2"));
    QDir(dir.path()).mkpath(QStringLiteral("records"));
    QFile::copy(QStringLiteral(KELVOR_FAKE_GAME_PATH), Game());
    QFile::copy(QStringLiteral(KELVOR_FAKE_GAME_PATH), Path(QStringLiteral("Dravik")));
    qputenv("KELVOR_GAME_RECORDS", QFile::encodeName(Path(QStringLiteral("records"))));
    QDir::setCurrent(dir.path());
    PlaceFile(Path(QStringLiteral("appSet")), appSet.replace("<game>", Game().toLocal8Bit()));
    PlaceFile(Path(QStringLiteral("modDta")), modDta);
    window = std::make_unique<MainWindow>(dir.path(), Platform{dialogs, picker, tray});
    window->Load();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qFatal("the main window never showed");
  }

  ~Launcher() {
    window.reset();
    QDir::setCurrent(QDir::tempPath());
  }
  Launcher(const Launcher&) = delete;
  Launcher& operator=(const Launcher&) = delete;

  QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
  QByteArray Bytes(const QString& name) const { return ReadBytes(Path(name)); }
  QString Game() const { return QDir::toNativeSeparators(Path(QLatin1String(kGame))); }

  template <typename Widget = QWidget>
  Widget* Find(const QString& name) const {
    Widget* found = window->findChild<Widget*>(name);
    if (!found) qFatal("no control named %s", qPrintable(name));
    return found;
  }
  QString Text(const QString& name) const { return Find(name)->property("text").toString(); }

  QStringList Mods() const {
    const QAbstractItemModel* rows = Find<QListView>(QStringLiteral("List1"))->model();
    QStringList names;
    for (int row = 0; row < rows->rowCount(); ++row)
      names.append(rows->index(row, 0).data().toString());
    return names;
  }

  // What each started game received, one entry a game: its program path, its working folder,
  // then its arguments.
  QList<QStringList> Games() const {
    QList<QStringList> games;
    const QDir records(Path(QStringLiteral("records")));
    for (const QString& name : records.entryList(QDir::Files)) {
      if (name.endsWith(QLatin1String(".part"))) continue;
      QString text = QString::fromUtf8(ReadBytes(records.filePath(name)));
      text.chop(1);
      games.append(text.split(QLatin1Char('\n')));
    }
    return games;
  }

  // Clicks a button or check box as the mouse would, or picks a menu item, by name.
  void Click(const QString& name) const {
    if (auto* box = window->findChild<QCheckBox*>(name)) {
      QStyleOptionButton option;  // a check box takes clicks on its square and caption only
      option.initFrom(box);
      const QRect square = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
      QTest::mouseClick(box, Qt::LeftButton, {}, square.center());
    } else if (auto* button = window->findChild<QAbstractButton*>(name)) {
      QTest::mouseClick(button, Qt::LeftButton);
    } else {
      Find<QAction>(name)->trigger();
    }
  }

  // Plays the player's steps, one string each:
  //   "Name"        clicks the button, check box or menu item of that name;
  //   "Name=text"   types `text` into the text box of that name in place of its text;
  //   "List1:row"   clicks a row of the mod list (-1: none);
  //   "pick:path"   picks `path` with Find... ("pick:game": the stand-in game); "cancel"
  //                 cancels Find...;
  //   "Name?=text"  expects the text box of that name to hold `text`.
  // Returns the expectations that failed.
  QStringList Play(const QStringList& steps) {
    QStringList failed;
    for (const QString& step : steps) {
      if (const qsizetype at = step.indexOf(QLatin1String("?=")); at > 0) {
        if (Text(step.left(at)) != step.mid(at + 2))
          failed.append(step + " but " + Text(step.left(at)));
      } else if (step.startsWith(QLatin1String("pick:")) || step == QLatin1String("cancel")) {
        picker.choice = step == QLatin1String("pick:game") ? Game() : step.mid(5);
        if (step == QLatin1String("cancel")) picker.choice.reset();
        Click(QStringLiteral("LocationButton"));
      } else if (step.startsWith(QLatin1String("List1:"))) {
        auto* list = Find<QListView>(QStringLiteral("List1"));
        list->clearSelection();
        const QRect cell = list->visualRect(list->model()->index(step.mid(6).toInt(), 0));
        if (cell.isValid()) QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
      } else if (const qsizetype equals = step.indexOf(QLatin1Char('=')); equals > 0) {
        auto* box = Find<QLineEdit>(step.left(equals));
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, step.mid(equals + 1));
      } else {
        Click(step);
      }
    }
    return failed;
  }

  // The top-level window of type `Window` that is showing, or null.
  template <typename Window>
  static Window* Showing() {
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
      if (auto* window = qobject_cast<Window*>(topLevel); window && window->isVisible())
        return window;
    }
    return nullptr;
  }

  static constexpr const char* kGame = "Dravik 2/Dravik2.exe";
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  ScriptedPicker picker;
  ScriptedNotificationArea tray;
  std::unique_ptr<MainWindow> window;
};

}  // namespace kelvor::testing
