#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class NewWindowRequest;

// What the frame's document area knows of a document: the page behind one tab. A document
// knows no frame; it reports what happens to its page as signals and the area decides where
// that shows (its tab, its navigator row, and the frame's bars while it is the active one).
class AbstractDocument : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Starts a new document on an address typed, chosen or restored: the page loads url, the
    // address decided for the text given; the document is named by text until its page names
    // itself, and text is what its address shows while the load runs and after it failed.
    // An empty url loads nothing.
    virtual void load(const QString &text, const QUrl &url) = 0;
    // Goes to url, decided for text, in this document, as load does.
    virtual void navigate(const QString &text, const QUrl &url) = 0;
    // Starts a new document on a page's new-window request (synchronously, before the
    // request's signal returns).
    virtual void openNewWindow(NewWindowRequest &request) = 0;
    // Reloads with the current download options.
    virtual void refresh() = 0;

    virtual QString locationUrl() const = 0;
    virtual QString locationName() const = 0;
    // What the address field shows for the document.
    virtual QString addressText() const { return locationUrl(); }
    // The load percentage last reported (0 when idle) and the security lock.
    virtual int progress() const = 0;
    virtual bool isSecure() const = 0;

    // The area switches the active document.
    virtual void activate() = 0;
    virtual void deactivate() = 0;
    // Whether the page can be seen. A page behind another tab, or in a minimised or hidden
    // frame, is hidden to the engine: it stops drawing and its timers slow down.
    virtual void setOnScreen(bool onScreen) = 0;

signals:
    void titleChanged(const QString &title);
    // The load percentage while the page loads.
    void progressChanged(int percent);
    // The page has finished loading.
    void loadCompleted();
    // The text for the status bar (the hovered link).
    void statusTextChanged(const QString &text);
    void secureChanged(bool secure);
    // The address to show in the address bar.
    void addressChanged(const QString &address);
    // The page's load completed and the open documents are to be saved.
    void saveDocumentsRequested();
    // A popup the document let through; the receiver opens it before returning.
    void newWindowRequested(NewWindowRequest &request);
    // The document unloads; its last address is what Undo Close brings back.
    void closing(const QString &lastAddress);
};
