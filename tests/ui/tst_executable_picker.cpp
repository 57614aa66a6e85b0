#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "support/files.h"
#include "ui/qt_executable_picker.h"

// The real Open dialog: how it is set up, and the player's typing in it.
class ExecutablePickerTest : public QObject {
  Q_OBJECT

 private slots:
  void dialogOffersOnlyTheGame();
  void playerTypesAName_data();
  void playerTypesAName();
};

void ExecutablePickerTest::dialogOffersOnlyTheGame() {
  const auto dialog = kelvor::BuildExecutableDialog();
  QCOMPARE(dialog->windowTitle(), QStringLiteral("Locate Dravik2 executable file please..."));
  QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
  QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
  QCOMPARE(dialog->nameFilters(), QStringList{"Dravik 2 (*.exe)"});
  QCOMPARE(dialog->defaultSuffix(), QStringLiteral("exe"));
  QCOMPARE(dialog->directory().absolutePath(), QDir::homePath());
}

void ExecutablePickerTest::playerTypesAName_data() {
  QTest::addColumn<QStringList>("keys");  // typed into the name box; "Esc" cancels
  QTest::addColumn<QString>("picked");    // "-": cancelled
  // clang-format off
  QTest::newRow("full name") << QStringList{"Dravik2.exe", "Enter"} << "Dravik2.exe";
  QTest::newRow("no extension: .exe added") << QStringList{"Dravik2", "Enter"} << "Dravik2.exe";
  QTest::newRow("cancelled") << QStringList{"Dravik2.exe", "Esc"} << "-";
  QTest::newRow("no such file: told, the dialog stays open") << QStringList{"missing", "Enter", "Esc", "Dravik2", "Enter"} << "Dravik2.exe";
  // clang-format on
}

void ExecutablePickerTest::playerTypesAName() {
  QFETCH(QStringList, keys);
  QFETCH(QString, picked);
  QTemporaryDir dir;
  kelvor::testing::WriteBytes(dir.filePath("Dravik2.exe"), "MZ");
  // Each key goes to whichever modal window is up then; a key may open another one, which
  // waits for the keys after it.
  std::function<void(qsizetype)> press = [&](qsizetype next) {
    if (next == keys.size()) return;
    QTimer::singleShot(0, [&, next] {
      QTRY_VERIFY(QApplication::activeModalWidget());
      QWidget* modal = QApplication::activeModalWidget();
      auto* name = modal->findChild<QLineEdit*>("fileNameEdit");
      const QString& key = keys[next];
      press(next + 1);
      if (key == QLatin1String("Enter")) {
        QTest::keyClick(name, Qt::Key_Return);
      } else if (key == QLatin1String("Esc")) {
        QTest::keyClick(modal, Qt::Key_Escape);
      } else {
        name->setText(dir.filePath(key));  // typing would open the completer over the dialog
      }
    });
  };
  press(0);
  kelvor::QtExecutablePicker picker;
  const std::optional<QString> path = picker.PickExecutable();
  QCOMPARE(path.value_or("-"), picked == "-" ? picked : dir.filePath(picked));
}

QTEST_MAIN(ExecutablePickerTest)
#include "tst_executable_picker.moc"
