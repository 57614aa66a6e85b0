#include <QTest>

#include "core/field_reader.h"
#include "core/field_writer.h"
#include "core/local_text.h"

using kelvor::FieldReader;

class TextFieldsTest : public QObject {
  Q_OBJECT

 private slots:
  void readsFields_data();
  void readsFields();
  void readingPastTheEndFails();
  void writtenFieldsReadBack_data();
  void writtenFieldsReadBack();
  void refusesTextThatIsNotText_data();
  void refusesTextThatIsNotText();
};

namespace {

QList<QByteArray> AllFields(const QByteArray& bytes) {
  QList<QByteArray> fields;
  FieldReader reader(bytes);
  while (const auto field = reader.ReadField()) fields.append(field->toByteArray());
  return fields;
}

}  // namespace

void TextFieldsTest::readsFields_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QList<QByteArray>>("fields");
  using L = QList<QByteArray>;

  QTest::newRow("empty file: no field") << QByteArray() << L{};
  QTest::newRow("only a line end: one empty field") << QByteArray("\r\n") << L{""};
  QTest::newRow("lines ended by CR LF") << QByteArray("x\r\ny\r\nz\r\n") << L{"x", "y", "z"};
  QTest::newRow("last line without line end") << QByteArray("x\r\ny") << L{"x", "y"};
  QTest::newRow("blank line: empty field") << QByteArray("x\r\n\r\ny\r\n") << L{"x", "", "y"};
  QTest::newRow("comma separates") << QByteArray("alpha,beta\r\n") << L{"alpha", "beta"};
  QTest::newRow("nothing between commas") << QByteArray("a,,b") << L{"a", "", "b"};
  QTest::newRow("comma before line end") << QByteArray("a,\r\nb") << L{"a", "", "b"};
  QTest::newRow("comma at the end of the file") << QByteArray("a,") << L{"a", ""};
  QTest::newRow("quoted field keeps commas") << QByteArray("\"alpha,beta\"\r\n") << L{"alpha,beta"};
  QTest::newRow("quoted field keeps leading blanks") << QByteArray("\"  x\"") << L{"  x"};
  QTest::newRow("blanks before a field skipped") << QByteArray("   x\r\n") << L{"x"};
  QTest::newRow("tabs before a field skipped") << QByteArray("\t \tx") << L{"x"};
  QTest::newRow("blanks before a quote skipped") << QByteArray("  \"a,b\"") << L{"a,b"};
  QTest::newRow("blanks at the end kept") << QByteArray("x  \r\ny\t") << L{"x  ", "y\t"};
  QTest::newRow("line of blanks: empty field") << QByteArray("   \r\nx") << L{"", "x"};
  QTest::newRow("after a closing quote: dropped to the comma")
      << QByteArray("\"ab\"cd,e") << L{"ab", "e"};
  QTest::newRow("after a closing quote: dropped to the line end")
      << QByteArray("\"ab\" junk\r\ne") << L{"ab", "e"};
  QTest::newRow("quote inside an unquoted field is kept")
      << QByteArray("ab\"c,d") << L{"ab\"c", "d"};
  QTest::newRow("unclosed quote ends at the end of the file") << QByteArray("\"ab,c") << L{"ab,c"};
  QTest::newRow("unclosed quote ends at the end of its line")
      << QByteArray("\"ab\r\nc\r\n") << L{"ab", "c"};
  QTest::newRow("empty quotes: empty field") << QByteArray("\"\",x") << L{"", "x"};
  QTest::newRow("lone LF ends a line") << QByteArray("x\ny\n") << L{"x", "y"};
  QTest::newRow("lone CR ends a line") << QByteArray("x\ry\r") << L{"x", "y"};
  QTest::newRow("LF CR is two line ends") << QByteArray("x\n\ry") << L{"x", "", "y"};
  QTest::newRow("bytes above 127 pass through")
      << QByteArray("\xc3\xa9t\xc3\xa9") << L{"\xc3\xa9t\xc3\xa9"};
  QTest::newRow("NUL bytes pass through to the decoder")
      << QByteArray("a\0b\r\n", 5) << L{QByteArray("a\0b", 3)};
}

void TextFieldsTest::readsFields() {
  QFETCH(QByteArray, bytes);
  QFETCH(QList<QByteArray>, fields);
  QCOMPARE(AllFields(bytes), fields);
}

void TextFieldsTest::readingPastTheEndFails() {
  FieldReader reader("x\r\n");
  QVERIFY(!reader.AtEnd());
  QVERIFY(reader.ReadField());
  QVERIFY(reader.AtEnd());
  QVERIFY(!reader.ReadField());
  QVERIFY(!reader.ReadField());
}

void TextFieldsTest::writtenFieldsReadBack_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QByteArray>("line");

  QTest::newRow("plain text as it stands")
      << "C:\\Games\\Dravik2.exe" << QByteArray("C:\\Games\\Dravik2.exe\r\n");
  QTest::newRow("empty text: the line end alone") << "" << QByteArray("\r\n");
  QTest::newRow("inner blanks as they stand")
      << "C:\\Program Files\\x.exe" << QByteArray("C:\\Program Files\\x.exe\r\n");
  QTest::newRow("trailing blanks as they stand") << "x  " << QByteArray("x  \r\n");
  QTest::newRow("a comma is quoted") << "C:\\a,b\\x.exe" << QByteArray("\"C:\\a,b\\x.exe\"\r\n");
  QTest::newRow("a leading blank is quoted") << " x" << QByteArray("\" x\"\r\n");
  QTest::newRow("a leading tab is quoted") << "\tx" << QByteArray("\"\tx\"\r\n");
  QTest::newRow("blanks only are quoted") << "   " << QByteArray("\"   \"\r\n");
  QTest::newRow("an inner quote as it stands") << "a\"b" << QByteArray("a\"b\r\n");
  QTest::newRow("text outside ASCII") << QString::fromUtf8("Dravik 2 Édition")
                                      << QByteArray(
                                             "Dravik 2 \xc3\x89"
                                             "dition\r\n");
}

void TextFieldsTest::writtenFieldsReadBack() {
  QFETCH(QString, text);
  QFETCH(QByteArray, line);
  const std::optional<QByteArray> written = kelvor::EncodeFieldLine(text);
  QVERIFY(written);
  QCOMPARE(*written, line);
  const QList<QByteArray> fields = AllFields(*written);
  QCOMPARE(fields.size(), 1);
  QCOMPARE(kelvor::DecodeLocalText(fields.first()), std::optional<QString>(text));
}

void TextFieldsTest::refusesTextThatIsNotText_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::newRow("NUL byte") << QByteArray("a\0b", 3);
  QTest::newRow("invalid UTF-8") << QByteArray("a\xff\xfe");
  QTest::newRow("cut multi-byte sequence") << QByteArray("caf\xc3");
}

void TextFieldsTest::refusesTextThatIsNotText() {
  QFETCH(QByteArray, bytes);
  QVERIFY(!kelvor::DecodeLocalText(bytes));
}

QTEST_APPLESS_MAIN(TextFieldsTest)
#include "tst_text_fields.moc"
