#pragma once

#include "abstractdocument.h"
#include "autorefresh.h"

#include <QTimer>
#include <QVariant>

#include <functional>

class FindBar;
class PopupKiller;
class SettingsModel;
class PageCustomizer;
class QWebEngineHistory;
class WebBrowser;

// A document window: the page behind one tab, with its browser control, page customizer,
// popup killer and automatic refresh.
class DocumentWindow : public AbstractDocument
{
    Q_OBJECT
public:
    explicit DocumentWindow(QWidget *parent = nullptr);
    ~DocumentWindow() override;

    // How the popup killer reads the icon the "Item4" panel shows now.
    void setPopupIndicatorReader(std::function<int()> reader);

    void load(const QString &text, const QUrl &url) override;
    void openNewWindow(NewWindowRequest &request) override;
    void refresh() override;

    // The content switches of the settings, applied to the page.
    void applyDownloadOptions();
    // The browser's download-control flags for the content switches of s.
    static int downloadControlFlags(const SettingsModel &s);
    QString locationUrl() const override;
    QString locationName() const override;
    // The page's address, or after a failed load the text that load was asked for.
    QString addressText() const override;
    void reload(int level = 0);
    // Page zoom one step in (step > 0), out (< 0) or back to 100 % (0).
    void stepPageZoom(int step);
    void stop();
    void navigate(const QString &text, const QUrl &url) override;
    // The page's script errors stay out of the console log (a killed popup's page, and the
    // "SuppressScriptErrors" switch).
    void setSilent(bool silent);
    // A failed load leaves the page as it was instead of showing the engine's error page.
    void setLoadErrorsSuppressed(bool suppressed);
    void goBack();
    void goForward();
    // Registers the document's browser as a top-level browser (each load does).
    void registerAsBrowser(bool on);
    void execBrowserCommand(int command, const QVariant &in = {}, QVariant *out = nullptr);
    void execCommand(int command);
    // The page's back and forward list.
    QWebEngineHistory *history() const;

    // Fills the page's forms from the form filler's store now, card data as the settings
    // protect it.
    void fillForm();
    // Reads the form filler's store again from "form.bin" (the options changed it).
    void reloadFormData();

    // The document's automatic refresh.
    AutoRefresh *autoRefresh() const { return m_autoRefresh; }
    // The page customizer attached to the document's page: its travel log (back and forward
    // counts and entries) and its form filler.
    PageCustomizer *customizer() const { return m_customizer; }

    // Opens the find bar above the page (made on first use), its text field focused.
    void showFindBar();
    // The find bar, or null before the first find.
    FindBar *findBar() const { return m_findBar; }

    void activate() override;
    void deactivate() override;
    void setOnScreen(bool onScreen) override;
    bool isActive() const { return m_active; }

    int progress() const override { return m_progress; }
    bool isSecure() const override { return m_secure; }

signals:
    // Set the status bar's "Item4" panel to this icon (the popup killer's indication).
    void popupIndicatorChanged(int icon);
    // A Flash placeholder was clicked: Flash is to be switched on.
    void flashEnableRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void unload();
    // The control's events.
    void onBeforeNavigate(const QString &url, bool mainFrame, bool &cancel);
    void onProgressChanged(int progress, int progressMax);
    void onTitleChanged(const QString &text);
    void onSecureLockIconChanged(int state);
    void onNewWindowRequested(NewWindowRequest &request, bool &cancel);
    void onWindowCloseRequested();
    // Applies a flipped Content switch to this page, as the switch's follow-up asks.
    void onContentSettingsChanged(const QString &switchKey);
    void onDocumentComplete(const QString &url, const QString &title, bool ok);

    WebBrowser *m_browser = nullptr; // the browser control
    PageCustomizer *m_customizer = nullptr;
    AutoRefresh *m_autoRefresh = nullptr;
    PopupKiller *m_popupKiller = nullptr;
    FindBar *m_findBar = nullptr;
    QTimer m_silentTimer;
    int m_progress = 0;
    bool m_active = false;
    bool m_secure = false;
    bool m_javaScriptLink = false;
    bool m_unloaded = false;
    // The text navigate was last given, until the navigation it starts begins.
    QString m_requestedText;
    bool m_requestPending = false;
    // The text the load under way (or the last one) was asked for; empty for a link, a
    // redirect, a reload or a page's own navigation.
    QString m_loadText;
    bool m_loadFailed = false;
};
