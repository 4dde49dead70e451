#pragma once

#include "autorefresh.h"

#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>

class QWebEngineNewWindowRequest;
class PopupKiller;
class PageCustomizer;
class WebBrowser;
class MainWindow;

// A document window: the page behind one tab. Its row in the navigator's registry and its tab
// share its position, which its browser control keeps in its Tag.
class DocumentWindow : public QWidget
{
    Q_OBJECT
public:
    explicit DocumentWindow(MainWindow *frame, QWidget *parent = nullptr);
    ~DocumentWindow() override;

    bool m_active = false;
    bool m_tabAlreadyDeleted = false;
    PageCustomizer *m_customizer = nullptr;
    WebBrowser *m_browser = nullptr; // the browser control

    AutoRefresh m_autoRefresh;
    QTimer m_highlightTimer;
    QTimer m_silentTimer;
    PopupKiller *m_popupKiller = nullptr;
    QString m_highlightPhase = QStringLiteral("0");

    // Registry position (1-based) as the browser control's Tag holds it; 0 when unregistered.
    int position() const;

    void applyDownloadOptions();
    void setTabCaption(int tabPosition, const QString &title);
    QString locationUrl() const;
    QString locationName() const;
    void reload(int level = 0);
    void stop();
    void navigate(const QString &address);
    void setSilent(bool silent);
    void goBack();
    void goForward();
    void registerAsBrowser(bool on);
    void execBrowserCommand(int command, int option, const QVariant &in = {}, QVariant *out = nullptr);
    void execCommand(int group, int command);

    // The frame switches the active child.
    void activate();
    void deactivate();

    int progress() const { return m_progress; }
    bool isSecure() const { return m_secure; }

    // The control's events (public so that tests can drive them).
    void onBeforeNavigate(const QString &url, bool mainFrame, bool &cancel);
    void onProgressChanged(int progress, int progressMax);
    void onTitleChanged(const QString &text);
    void onStatusTextChanged(const QString &text);
    void onSecureLockIconChanged(int state);
    void onNewWindowRequested(QWebEngineNewWindowRequest &request, bool &cancel);
    void onWindowCloseRequested();
    void onHighlightTick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void unload();
    void onDocumentComplete(const QString &url, const QString &title, bool ok);

    QPointer<MainWindow> m_frame;
    int m_progress = 0;
    bool m_secure = false;
    bool m_javaScriptLink = false;
    bool m_unloaded = false;
};
