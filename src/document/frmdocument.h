#pragma once

#include "autorefresh.h"

#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>

class QWebEngineNewWindowRequest;
class PopupKiller;
class WBCustomizer;
class WebBrowser;
class frmMain;

// A document window: the page behind one tab. Its row in the navigator's registry and its tab
// share its position, which its browser control keeps in its Tag.
class frmDocument : public QWidget
{
    Q_OBJECT
public:
    explicit frmDocument(frmMain *frame, QWidget *parent = nullptr);
    ~frmDocument() override;

    bool bActive = false;
    bool bTabAlreadyDeleted = false;
    WBCustomizer *CustomWB = nullptr;
    WebBrowser *WebBro = nullptr; // the browser control

    AutoRefresh tmrAutoRefresh;
    QTimer Highlight;
    QTimer tmrSilent;
    PopupKiller *m_popupKiller = nullptr;
    QString HighlightTag = QStringLiteral("0");

    // Registry position (1-based) as the browser control's Tag holds it; 0 when unregistered.
    int Position() const;

    void SetDownloadOptions();
    void ModifyTabCaption(int tabPosition, const QString &title);
    QString LocationURL() const;
    QString LocationName() const;
    void RefreshDoc(int level = 0);
    void StopDoc();
    void NavigateDoc(const QString &address);
    void SilentDoc(bool silent);
    void GoBackDoc();
    void GoForwardDoc();
    void RegisterAsBrowser(bool on);
    void ExecWBDoc(int command, int option, const QVariant &in = {}, QVariant *out = nullptr);
    void Exec(int group, int command);

    // The frame switches the active child.
    void Form_Activate();
    void Form_Deactivate();

    int Progress() const { return nProgress; }
    bool SecurePage() const { return bSecurePage; }

    // The control's events (public so that tests can drive them).
    void WebBro_BeforeNavigate2(const QString &url, bool mainFrame, bool &cancel);
    void WebBro_ProgressChange(int progress, int progressMax);
    void WebBro_TitleChange(const QString &text);
    void WebBro_StatusTextChange(const QString &text);
    void WebBro_SetSecureLockIcon(int state);
    void WebBro_NewWindow2(QWebEngineNewWindowRequest &request, bool &cancel);
    void WebBro_WindowClosing();
    void Highlight_Timer();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Unload();
    void onDocumentComplete(const QString &url, const QString &title, bool ok);

    QPointer<frmMain> m_frame;
    int nProgress = 0;
    bool bSecurePage = false;
    bool bJavaScriptLink = false;
    bool m_unloaded = false;
};
