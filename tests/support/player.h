#pragma once

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"
#include "support/scripted_platform.h"
#include "ui/main_window.h"

namespace kelvor::testing {

// A main window over `folder`, started as the launcher starts it: built, loaded and shown.
inline std::unique_ptr<kelvor::MainWindow> StartMainWindow(const QString& folder,
                                                           kelvor::Platform platform) {
  auto window = std::make_unique<kelvor::MainWindow>(folder, platform);
  window->Load();
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) qFatal("the main window never showed");
  return window;
}

// Starts a test afresh: a new launcher folder holding `appSet` and `modDta`, a scripted desktop
// with nothing recorded yet, and a main window started over them.
inline void StartAfresh(std::unique_ptr<QTemporaryDir>& dir, ScriptedPlatform& platform,
                        std::unique_ptr<kelvor::MainWindow>& window, const QByteArray& appSet,
                        const QByteArray& modDta) {
  window.reset();
  dir = std::make_unique<QTemporaryDir>();
  WriteBytes(dir->filePath(QStringLiteral("appSet")), appSet);
  WriteBytes(dir->filePath(QStringLiteral("modDta")), modDta);
  platform = {};
  window = StartMainWindow(dir->path(), platform.Get());
}

// Clicks a button or check box the way the mouse would, or picks a menu item, by name.
inline void Click(QWidget* window, const QString& name) {
  if (auto* box = window->findChild<QCheckBox*>(name)) {
    // A check box takes clicks on its square and caption only, not on the empty rest.
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect square = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, square.center());
  } else if (auto* button = window->findChild<QAbstractButton*>(name)) {
    QTest::mouseClick(button, Qt::LeftButton);
  } else if (auto* menuItem = window->findChild<QAction*>(name)) {
    menuItem->trigger();
  } else {
    qFatal("no control named %s", qPrintable(name));
  }
}

// The names the main window's mod list shows, top to bottom.
inline QStringList ListedMods(QWidget* window) {
  const QAbstractItemModel* rows = window->findChild<QListView*>(QStringLiteral("List1"))->model();
  QStringList names;
  for (int row = 0; row < rows->rowCount(); ++row)
    names.append(rows->index(row, 0).data().toString());
  return names;
}

// Replaces a text box's text as the keyboard would.
inline void Type(QWidget* window, const QString& name, const QString& text) {
  auto* box = window->findChild<QLineEdit*>(name);
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_Delete);
  QTest::keyClicks(box, text);
}

// Clicks a row of the mod list; -1 leaves nothing selected.
inline void SelectMod(QWidget* window, int row) {
  auto* list = window->findChild<QListView*>(QStringLiteral("List1"));
  list->clearSelection();
  if (row >= 0) {
    const QRect cell = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  }
}

// Plays the player's steps on the main window, one string each:
//   "Name"        clicks the button, check box or menu item of that name;
//   "Name=text"   types `text` into the text box of that name in place of its text;
//   "List1:row"   selects a row of the mod list (-1: none);
//   "pick:path"   picks `path` with Find...; "cancel" cancels Find...;
//   "Name?=text"  expects the text box of that name to hold `text`.
// Returns the expectations that failed, empty when all held.
inline QStringList Play(QWidget* window, ScriptedPicker& picker, const QStringList& steps) {
  QStringList failed;
  for (const QString& step : steps) {
    if (const qsizetype at = step.indexOf(QLatin1String("?=")); at > 0) {
      const QString actual = window->findChild<QLineEdit*>(step.left(at))->text();
      if (actual != step.mid(at + 2)) failed.append(step + QLatin1String(" but was ") + actual);
    } else if (step.startsWith(QLatin1String("pick:")) || step == QLatin1String("cancel")) {
      picker.choice = step == QLatin1String("cancel") ? std::nullopt : std::optional(step.mid(5));
      Click(window, QStringLiteral("LocationButton"));
    } else if (step.startsWith(QLatin1String("List1:"))) {
      SelectMod(window, step.mid(6).toInt());
    } else if (const qsizetype equals = step.indexOf(QLatin1Char('=')); equals > 0) {
      Type(window, step.left(equals), step.mid(equals + 1));
    } else {
      Click(window, step);
    }
  }
  return failed;
}

}  // namespace kelvor::testing
