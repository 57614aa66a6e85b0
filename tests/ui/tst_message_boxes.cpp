#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ui/qt_player_dialogs.h"

using kelvor::MessageKind;

// The real boxes, built but never shown: title, icon, buttons and default button.
class MessageBoxesTest : public QObject {
  Q_OBJECT

 private slots:
  void boxesFollowTheirRole_data();
  void boxesFollowTheirRole();
  void textIsPlain();
  void questionAnswersFromTheKeyboard_data();
  void questionAnswersFromTheKeyboard();
};

void MessageBoxesTest::boxesFollowTheirRole_data() {
  QTest::addColumn<int>("kind");  // -1: the Yes/No question
  QTest::addColumn<QMessageBox::Icon>("icon");
  QTest::addColumn<QMessageBox::StandardButtons>("buttons");
  QTest::addColumn<QMessageBox::StandardButton>("defaultButton");
  QTest::newRow("failure") << int(MessageKind::kFailure) << QMessageBox::Critical
                           << QMessageBox::StandardButtons(QMessageBox::Ok) << QMessageBox::Ok;
  QTest::newRow("notice") << int(MessageKind::kNotice) << QMessageBox::Warning
                          << QMessageBox::StandardButtons(QMessageBox::Ok) << QMessageBox::Ok;
  QTest::newRow("success") << int(MessageKind::kSuccess) << QMessageBox::Information
                           << QMessageBox::StandardButtons(QMessageBox::Ok) << QMessageBox::Ok;
  QTest::newRow("question") << -1 << QMessageBox::Question << (QMessageBox::Yes | QMessageBox::No)
                            << QMessageBox::Yes;
}

void MessageBoxesTest::boxesFollowTheirRole() {
  QFETCH(int, kind);
  QFETCH(QMessageBox::Icon, icon);
  QFETCH(QMessageBox::StandardButtons, buttons);
  QFETCH(QMessageBox::StandardButton, defaultButton);
  const QString text = QStringLiteral("First sentence.\n\nSecond sentence.");
  const auto box = kind < 0 ? kelvor::BuildQuestionBox(text)
                            : kelvor::BuildMessageBox(static_cast<MessageKind>(kind), text);
  QCOMPARE(box->windowTitle(), QStringLiteral("Kelvor Launcher"));
  QCOMPARE(box->text(), text);
  QCOMPARE(box->icon(), icon);
  QCOMPARE(box->standardButtons(), buttons);
  QCOMPARE(static_cast<QAbstractButton*>(box->defaultButton()), box->button(defaultButton));
}

void MessageBoxesTest::textIsPlain() {
  const auto box = kelvor::BuildMessageBox(MessageKind::kNotice, QStringLiteral("<b>x</b>"));
  QCOMPARE(box->textFormat(), Qt::PlainText);
}

void MessageBoxesTest::questionAnswersFromTheKeyboard_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<bool>("yes");
  QTest::newRow("Enter takes the default, Yes") << int(Qt::Key_Return) << true;
  QTest::newRow("Escape says No") << int(Qt::Key_Escape) << false;
}

void MessageBoxesTest::questionAnswersFromTheKeyboard() {
  QFETCH(int, key);
  QFETCH(bool, yes);
  QTimer::singleShot(0, [key] {
    QTRY_VERIFY(QApplication::activeModalWidget());
    QTest::keyClick(QApplication::activeModalWidget(), Qt::Key(key));
  });
  kelvor::QtPlayerDialogs dialogs;
  QCOMPARE(dialogs.Confirm(QStringLiteral("Do you really want to quit ?")), yes);
}

QTEST_MAIN(MessageBoxesTest)
#include "tst_message_boxes.moc"
