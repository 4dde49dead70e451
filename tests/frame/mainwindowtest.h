#pragma once

#include "app/firstpage.h"
#include "app/startup.h"
#include "core/appstate.h"
#include "core/crashnoticedialog.h"
#include "core/historystore.h"
#include "core/notesfiles.h"
#include "core/numberederror.h"
#include "core/settingsstore.h"
#include "core/singleinstance.h"
#include "core/storedcolor.h"
#include "core/strings.h"
#include "document/contentswitches.h"
#include "document/documentwindow.h"
#include "document/popupwhitelist.h"
#include "frame/address/addressbar.h"
#include "frame/address/quicksearchdialog.h"
#include "frame/chrome/framechrome.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/chrome/navigatorpalette.h"
#include "frame/chrome/striptoolbar.h"
#include "frame/commands/commandbindings.h"
#include "frame/commands/commandregistry.h"
#include "frame/commands/shortcutrules.h"
#include "frame/dialogs/restoredocumentsdialog.h"
#include "frame/dialogs/windowlistdialog.h"
#include "frame/documents/documentarea.h"
#include "frame/documents/documenttabbar.h"
#include "frame/framegeometry.h"
#include "frame/frameoptionshost.h"
#include "frame/frametray.h"
#include "frame/mainwindow.h"
#include "framedocuments.h"
#include "options/optionsdialog.h"
#include "platform/browserpage.h"
#include "platform/preparedpage.h"
#include "platform/webbrowser.h"
#include "sidebar/sidebar.h"
#include "testframe.h"
#include "testserver.h"
#include "widgets/mousegesturerecognizer.h"
#include "widgets/panelstatusbar.h"
#include "widgets/passworddialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QMdiArea>
#include <QRadioButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QMenu>
#include <QToolButton>
#include <QMessageBox>
#include <QMouseEvent>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

// A tab's tool tip shows its page's title as plain text.
inline QString shownAsToolTip(const QString &title)
{
    return title.isEmpty() ? QString() : Qt::convertFromPlainText(title);
}

// What the frame's tests share: a local web server, frames built for a test, and the ways they
// look into a frame (its documents, tabs, registry, notes) and drive it.
class MainWindowTest : public QObject
{
protected:
    TestServer m_server;

    SettingsStore &store() { return SettingsStore::instance(); }
    QString marker() { return store().read("Settings", "PrevSessionCrashed", "(none)"); }

    // A frame after its load, every message box of the load answered; their texts in *notices.
    std::unique_ptr<MainWindow> makeFrameAnsweringNotices(const QString &commandLine, QStringList *notices)
    {
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [notices] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                *notices << box->text();
                box->accept();
            }
        });
        answer.start(20);
        return makeFrame(commandLine);
    }

    // Whether the document's page is loading.
    static bool isLoading(const DocumentWindow *document)
    {
        return document->findChild<WebBrowser *>()->page()->isLoading();
    }

    // Whether a right press on a window of its own is held back as the start of a possible
    // gesture (as it is while the frame's gestures watch the application) or reaches the window
    // at once; a held press reaches it once the click is judged no gesture.
    static void checkRightPressHeld(bool held)
    {
        class Target : public QWidget
        {
        public:
            int rightPresses = 0;

        protected:
            void mousePressEvent(QMouseEvent *event) override
            {
                if (event->button() == Qt::RightButton)
                    ++rightPresses;
            }
        };
        Target target;
        target.resize(100, 100);
        target.show();
        QVERIFY(QTest::qWaitForWindowExposed(&target));
        QTest::mousePress(target.windowHandle(), Qt::RightButton, {}, QPoint(50, 50));
        QCOMPARE(target.rightPresses, held ? 0 : 1);
        QTest::mouseRelease(target.windowHandle(), Qt::RightButton, {}, QPoint(50, 50));
        QTRY_COMPARE(target.rightPresses, 1);
    }

    // Points the settings store at a path below a plain file: no write to it can succeed (not
    // even as root).
    static bool pointStoreBelowAFile(const QTemporaryDir &dir)
    {
        QFile blocker(dir.filePath(QStringLiteral("file")));
        if (!blocker.open(QIODevice::WriteOnly))
            return false;
        blocker.close();
        SettingsStore::setInstanceFile(dir.filePath(QStringLiteral("file/Quarvel.ini")));
        return true;
    }

    // Opens an address in a new tab through the address bar.
    void enterInNewTab(MainWindow &frame, const QString &address)
    {
        frame.findChild<AddressBar *>()->setGoNew(true);
        frame.findChild<AddressBar *>()->setAddressText(address);
        frame.findChild<AddressBar *>()->onAddressEnter(false, false);
        frame.findChild<AddressBar *>()->setGoNew(false);
    }

    // Rows, tabs and documents agree position by position.
    static bool registryConsistent(MainWindow &frame)
    {
        NavigatorPalette *nav = frame.findChild<DocumentArea *>()->navigator();
        const QList<DocumentWindow *> documents = frameDocuments(frame);
        if (nav->rowCount() != frame.findChild<DocumentTabBar *>()->itemCount() ||
            nav->rowCount() != documents.size() ||
            nav->rowCount() != frame.findChild<DocumentArea *>()->documentCount())
            return false;
        for (int k = 1; k <= nav->rowCount(); ++k) {
            DocumentWindow *document = documents[k - 1];
            if (nav->rowText(k) != document->windowTitle() ||
                frame.findChild<DocumentTabBar *>()->tabToolTip(k - 1) !=
                    shownAsToolTip(document->windowTitle()))
                return false;
        }
        return true;
    }

    static QPlainTextEdit *quickNotes(MainWindow &frame)
    {
        return frame.findChild<QPlainTextEdit *>(QStringLiteral("txtQuickNotes"));
    }

    // The document at a 1-based position.
    static DocumentWindow *documentAt(MainWindow &frame, int position)
    {
        return frameDocuments(frame).value(position - 1);
    }

    static QStringList tabCaptions(MainWindow &frame)
    {
        QStringList captions;
        for (int k = 1; k <= frame.findChild<DocumentTabBar *>()->itemCount(); ++k)
            captions << frame.findChild<DocumentTabBar *>()->tabText(k - 1);
        return captions;
    }

    // A fresh settings file and whitelist for each test.
    void resetForTest()
    {
        QFile::remove(store().filePath());
        store().reload();
        AppState::settings = SettingsModel();
        programWhitelist().clear(); // each test's server is its own site
        QVERIFY(saveWhitelist());
        const SettingsStore::Batch batch(store()); // one write of the file
        // The popup killer's questions and one-time notice would wait for a click.
        store().write("Popup", "FirstPopup", "False");
        store().write("Popup", "PopupPromptWhitelist", "False");
    }
};
