#include "words/dictionary_line.h"

#include <QtTest>

class TestDictionaryLine : public QObject {
    Q_OBJECT
private slots:
    void withoutSpaces_data();
    void withoutSpaces();
};

void TestDictionaryLine::withoutSpaces_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("entry");
    QTest::newRow("spaces before, between and after") << "  a b  c " << "abc";
    QTest::newRow("tab kept") << "a\tb" << "a\tb";
    QTest::newRow("spaces only") << "   " << "";
    QTest::newRow("empty line") << "" << "";
    QTest::newRow("lone LF kept") << "один\nдва два" << "один\nдвадва";
    QTest::newRow("no space") << "Ёжик" << "Ёжик";
}

void TestDictionaryLine::withoutSpaces()
{
    QFETCH(QString, line);
    QFETCH(QString, entry);
    QString scratch = QStringLiteral("left over from a longer line");
    QCOMPARE(DictionaryLine::withoutSpaces(line, scratch).toString(), entry);
}

QTEST_APPLESS_MAIN(TestDictionaryLine)
#include "tst_dictionary_line.moc"
