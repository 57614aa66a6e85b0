#include <QTest>

#include "core/field_reader.h"
#include "core/field_writer.h"

// The data files' fields: every reading rule, and what the writer makes of awkward text.
class TextFieldsTest : public QObject {
  Q_OBJECT

 private slots:
  void readsFields_data();
  void readsFields();
  void writtenTextReadsBack_data();
  void writtenTextReadsBack();
};

static QByteArrayList AllFields(const QByteArray& bytes) {
  QByteArrayList fields;
  kelvor::FieldReader reader(bytes);
  while (const auto field = reader.ReadField()) fields.append(field->toByteArray());
  return fields;
}

void TextFieldsTest::readsFields_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QByteArrayList>("fields");
  using L = QByteArrayList;
  // clang-format off
  QTest::newRow("empty: no field, reading fails") << QByteArray() << L{};
  QTest::newRow("only a line end: one empty field") << QByteArray("\r\n") << L{""};
  QTest::newRow("CR LF lines") << QByteArray("x\r\ny\r\nz\r\n") << L{"x", "y", "z"};
  QTest::newRow("last line without line end") << QByteArray("x\r\ny") << L{"x", "y"};
  QTest::newRow("blank line: empty field") << QByteArray("x\r\n\r\ny") << L{"x", "", "y"};
  QTest::newRow("commas separate") << QByteArray("a,b,,c") << L{"a", "b", "", "c"};
  QTest::newRow("comma before a line end") << QByteArray("a,\r\nb") << L{"a", "", "b"};
  QTest::newRow("comma at the end of the file") << QByteArray("a,") << L{"a", ""};
  QTest::newRow("quotes keep commas and blanks") << QByteArray("\"a,b\",\"  c\"") << L{"a,b", "  c"};
  QTest::newRow("blanks and tabs before a field skipped") << QByteArray("  x\r\n\t \"y\"") << L{"x", "y"};
  QTest::newRow("blanks at the end kept") << QByteArray("x  \r\ny\t") << L{"x  ", "y\t"};
  QTest::newRow("line of blanks: empty field") << QByteArray("   \r\nx") << L{"", "x"};
  QTest::newRow("after a closing quote: dropped") << QByteArray("\"ab\"cd,e\r\n\"f\" g\r\nh") << L{"ab", "e", "f", "h"};
  QTest::newRow("quote inside an unquoted field kept") << QByteArray("ab\"c,d") << L{"ab\"c", "d"};
  QTest::newRow("unclosed quote ends with the file") << QByteArray("\"ab,c") << L{"ab,c"};
  QTest::newRow("unclosed quote ends with its line") << QByteArray("\"ab\r\nc") << L{"ab", "c"};
  QTest::newRow("lone LF and lone CR end lines") << QByteArray("x\ny\rz") << L{"x", "y", "z"};
  QTest::newRow("LF CR is two line ends") << QByteArray("x\n\ry") << L{"x", "", "y"};
  QTest::newRow("bytes pass through as they are") << QByteArray("\xc3\xa9\0b", 4) << L{QByteArray("\xc3\xa9\0b", 4)};
  // clang-format on
}

void TextFieldsTest::readsFields() {
  QFETCH(QByteArray, bytes);
  QFETCH(QByteArrayList, fields);
  QCOMPARE(AllFields(bytes), fields);
}

void TextFieldsTest::writtenTextReadsBack_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QByteArray>("line");
  // clang-format off
  QTest::newRow("as it stands") << "C:\\Program Files\\x.exe  " << QByteArray("C:\\Program Files\\x.exe  \r\n");
  QTest::newRow("empty: the line end alone") << "" << QByteArray("\r\n");
  QTest::newRow("a comma is quoted") << "C:\\a,b\\x.exe" << QByteArray("\"C:\\a,b\\x.exe\"\r\n");
  QTest::newRow("a leading blank is quoted") << " x" << QByteArray("\" x\"\r\n");
  QTest::newRow("a leading tab is quoted") << "\tx" << QByteArray("\"\tx\"\r\n");
  QTest::newRow("an inner quote as it stands") << "a\"b" << QByteArray("a\"b\r\n");
  QTest::newRow("outside ASCII, in the code page") << QString::fromUtf8("Édition") << QByteArray("\xc3\x89" "dition\r\n");
  // clang-format on
}

void TextFieldsTest::writtenTextReadsBack() {
  QFETCH(QString, text);
  QFETCH(QByteArray, line);
  QCOMPARE(kelvor::EncodeFieldLine(text), std::optional<QByteArray>(line));
  QCOMPARE(AllFields(line), QByteArrayList{text.toUtf8()});
}

QTEST_APPLESS_MAIN(TextFieldsTest)
#include "tst_text_fields.moc"
