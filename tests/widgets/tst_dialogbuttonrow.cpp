#include "core/strings.h"
#include "widgets/dialogbuttonrow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QtTest>

class DialogButtonRowTest : public QObject
{
    Q_OBJECT
private slots:
    void buildsTheClosingRow_data()
    {
        QTest::addColumn<QString>("acceptName");
        QTest::addColumn<int>("acceptId");
        QTest::addColumn<QString>("rejectName");
        QTest::addColumn<int>("rejectId");
        QTest::newRow("OK and Cancel") << "cmdOK" << 111 << "cmdCancel" << 112;
        QTest::newRow("Yes and No") << "OKButton" << 113 << "CancelButton" << 114;
        QTest::newRow("unnamed") << QString() << 111 << QString() << 112;
    }

    void buildsTheClosingRow()
    {
        QFETCH(QString, acceptName);
        QFETCH(int, acceptId);
        QFETCH(QString, rejectName);
        QFETCH(int, rejectId);
        const QByteArray acceptKey = acceptName.toLatin1(), rejectKey = rejectName.toLatin1();
        QDialog dialog;
        const DialogButtonRow buttons(&dialog, {acceptKey.constData(), acceptId},
                                      {rejectKey.constData(), rejectId});
        QCOMPARE(buttons.accept->parent(), &dialog);
        QCOMPARE(buttons.accept->objectName(), acceptName);
        QCOMPARE(buttons.reject->objectName(), rejectName);
        QVERIFY(!loadResString(acceptId).isEmpty());
        QCOMPARE(buttons.accept->text(), loadResString(acceptId));
        QCOMPARE(buttons.reject->text(), loadResString(rejectId));
        QVERIFY(buttons.accept->isDefault());
        QVERIFY(!buttons.reject->isDefault());

        // Right-aligned, the accepting button first.
        QHBoxLayout *row = buttons.row;
        QCOMPARE(row->count(), 3);
        QVERIFY(row->itemAt(0)->spacerItem());
        QCOMPARE(row->itemAt(1)->widget(), buttons.accept);
        QCOMPARE(row->itemAt(2)->widget(), buttons.reject);

        // Localising the form again keeps the captions.
        buttons.accept->setText(QString());
        loadResStrings(&dialog);
        QCOMPARE(buttons.accept->text(), loadResString(acceptId));
        delete row;
    }
};

QTEST_MAIN(DialogButtonRowTest)
#include "tst_dialogbuttonrow.moc"
