#pragma once

#include <QDir>
#include <QRegularExpression>
#include <QTest>

namespace kelvor::testing {

// The launcher's warning that `what` ("Reading", "Saving", "Starting the game", ...) failed on
// `file`, with a reason in words, on one line, must come next: it is taken instead of printed,
// and the test fails without it.
inline void ExpectFailureLog(const char* what, const QString& file) {
  const QString path = QRegularExpression::escape(QDir::toNativeSeparators(file));
  QTest::ignoreMessage(
      QtWarningMsg,
      QRegularExpression(
          QStringLiteral("^%1 \"%2\" failed: [^\\r\\n]*\\p{L}{2}[^\\r\\n]*$").arg(what, path)));
}

// Any other warning that names something in `folder` fails the test: a working run logs nothing.
// So does any warning of Qt's own file and process code: a failure is told once, by the line the
// launcher logs for it.
inline void FailOnWarningsAbout(const QString& folder) {
  QTest::failOnWarning(
      QRegularExpression(QRegularExpression::escape(QDir::toNativeSeparators(folder))));
  QTest::failOnWarning(QRegularExpression("^(QFSFileEngine|QFile|QSaveFile|QIODevice|QProcess)"));
}

}  // namespace kelvor::testing
