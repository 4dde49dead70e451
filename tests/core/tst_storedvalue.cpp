#include "core/storedcolor.h"
#include "core/storedvalue.h"

#include <QGuiApplication>
#include <QtTest>

using namespace StoredValue;

class TestStoredValue : public QObject
{
    Q_OBJECT
private slots:
    void boolean_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -1 = fails
        QTest::newRow("True") << "True" << 1;
        QTest::newRow("lower true") << "true" << 1;
        QTest::newRow("upper FALSE") << "FALSE" << 0;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("minus one") << "-1" << 1;
        QTest::newRow("any number") << "2.5" << 1;
        QTest::newRow("blanks around") << " True " << 1;
        QTest::newRow("yes fails") << "yes" << -1;
        QTest::newRow("empty fails") << "" << -1;
        QTest::newRow("hex") << "&H0" << 0;
    }
    void boolean()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const auto v = toBoolean(text);
        if (expected < 0)
            QVERIFY(!v);
        else
            QCOMPARE(v, std::optional<bool>(expected == 1));
    }

    void integer_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << "10" << true << 10;
        QTest::newRow("negative") << "-1" << true << -1;
        QTest::newRow("max") << "32767" << true << 32767;
        QTest::newRow("over max") << "32768" << false << 0;
        QTest::newRow("min") << "-32768" << true << -32768;
        QTest::newRow("half to even down") << "2.5" << true << 2;
        QTest::newRow("half to even up") << "3.5" << true << 4;
        QTest::newRow("comma decimal") << "1,5" << true << 2;
        QTest::newRow("hex") << "&H1F" << true << 31;
        QTest::newRow("hex 16-bit wraps") << "&HFFFF" << true << -1;
        QTest::newRow("hex lower case") << "&hff" << true << 255;
        QTest::newRow("octal") << "&O17" << true << 15;
        QTest::newRow("word") << "ten" << false << 0;
        QTest::newRow("trailing junk") << "12abc" << false << 0;
        QTest::newRow("blanks") << "  7 " << true << 7;
    }
    void integer()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, expected);
        const auto v = toInteger(text);
        QCOMPARE(bool(v), ok);
        if (ok)
            QCOMPARE(int(*v), expected);
    }

    void longValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("colour default") << "&H00FF6666" << true << qint64(16737894);
        QTest::newRow("colour decimal") << "16737894" << true << qint64(16737894);
        QTest::newRow("32-bit wrap") << "&HFFFFFFFF" << true << qint64(-1);
        QTest::newRow("short hex") << "&HFF" << true << qint64(255);
        QTest::newRow("over range") << "2147483648" << false << qint64(0);
        QTest::newRow("too many hex digits") << "&H1FFFFFFFF" << false << qint64(0);
        QTest::newRow("bad hex") << "&HXYZ" << false << qint64(0);
    }
    void longValue()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint64, expected);
        const auto v = toLong(text);
        QCOMPARE(bool(v), ok);
        if (ok)
            QCOMPARE(qint64(*v), expected);
    }

    void single()
    {
        QCOMPARE(toSingle(QStringLiteral("1000")), std::optional<float>(1000.0f));
        QCOMPARE(toSingle(QStringLiteral("12.5")), std::optional<float>(12.5f));
        QCOMPARE(toSingle(QStringLiteral("12,5")), std::optional<float>(12.5f));
        QVERIFY(!toSingle(QStringLiteral("wide")));
        QVERIFY(!toSingle(QStringLiteral("inf")));
        QCOMPARE(fromSingle(6500.0f), QStringLiteral("6500"));
        QCOMPARE(fromSingle(12.25f), QStringLiteral("12.25"));
        QCOMPARE(fromSingle(1.0f / 3.0f), QStringLiteral("0.3333333"));
    }

    void leadingNumber()
    {
        QCOMPARE(leadingValue(QStringLiteral("12abc")), 12.0);
        QCOMPARE(leadingValue(QStringLiteral("  -3.5x")), -3.5);
        QCOMPARE(leadingValue(QStringLiteral("abc")), 0.0);
        QCOMPARE(leadingValue(QString()), 0.0);
    }

    void rounding()
    {
        QCOMPARE(roundHalfEven(0.5), 0.0);
        QCOMPARE(roundHalfEven(1.5), 2.0);
        QCOMPARE(roundHalfEven(2.5), 2.0);
        QCOMPARE(roundHalfEven(-2.5), -2.0);
        QCOMPARE(roundHalfEven(2.6), 3.0);
    }

    void colours()
    {
        const QColor c = storedColorToQColor(16737894u);
        QCOMPARE(c, QColor(102, 102, 255));
        QCOMPARE(qColorToStoredColor(c), 16737894u);
        // System colours take the palette's.
        QCOMPARE(storedColorToQColor(0x80000005u), QGuiApplication::palette().color(QPalette::Base));
        QCOMPARE(storedColorToQColor(0x8000000Fu), QGuiApplication::palette().color(QPalette::Button));
    }

    void twips()
    {
        QCOMPARE(twipsToPixels(1000), 67);
        QCOMPARE(twipsToPixels(6500), 433);
        QCOMPARE(twipsToPixels(22.5), 2); // 1.5 -> 2
        QCOMPARE(twipsToPixels(37.5), 2); // 2.5 -> 2
        QCOMPARE(pixelsToTwips(100), 1500.0);
    }
};

QTEST_MAIN(TestStoredValue)
#include "tst_storedvalue.moc"
