#include "app/startup.h"
#include "core/appstate.h"
#include "frame/commands/commandregistry.h"
#include "frame/dialogs/aboutdialog.h"
#include "frame/mainwindow.h"

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>
#include <QWebEngineProfile>
#include <QtTest>

// The about box: what it names, and that it is modal.
class TestAboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void aboutBoxShowsTheRunningEngineAndQt()
    {
        const QString engine = AboutDialog::engineVersion();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$")).match(engine).hasMatch(),
                 qPrintable(engine));
        // The engine the pages see is the one named.
        QVERIFY(QWebEngineProfile::defaultProfile()->httpUserAgent().contains(QStringLiteral("Chrome/") + engine));

        MainWindow frame;
        QString title;
        QStringList texts;
        bool modal = false;
        QTimer::singleShot(0, this, [&] {
            auto *about = qobject_cast<AboutDialog *>(QApplication::activeModalWidget());
            QVERIFY(about);
            modal = AppState::modalDialogOpen();
            title = about->windowTitle();
            for (QLabel *label : about->findChildren<QLabel *>())
                texts << label->text();
            QTest::keyClick(about, Qt::Key_Escape);
        });
        frame.findChild<CommandRegistry *>()->trigger(QStringLiteral("mnuHelpAbout"));
        QVERIFY(modal);
        QCOMPARE(title, QStringLiteral("About Quarvel"));
        const QString all = texts.join(u'\n');
        for (const QString &expected : {QStringLiteral("Quarvel"), QStringLiteral("v2.7.0010"),
                                        QStringLiteral("Disclaimer:"), engine,
                                        QString::fromLatin1(qVersion())})
            QVERIFY2(all.contains(expected), qPrintable(expected));
        QVERIFY(!QApplication::activeModalWidget());
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    initApplicationIdentity();
    TestAboutDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_aboutdialog.moc"
