#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class AbstractDocument;
class DocumentTabBar;
class QPoint;

// What the mouse does on the tab strip. A press on a tab brings its document to the front, then
// the action the "Control" settings give the button runs (Shift, Ctrl or Alt make the modifier
// variant); the second click of a double click runs the double-click action on the tab the first
// one pressed. On the empty strip the right button asks for the New menu, Ctrl with the left
// button or a double click for a new tab. A tab's close button closes its document.
class DocumentTabClicks : public QObject
{
    Q_OBJECT
public:
    // What the clicks need to know of the documents.
    struct Documents
    {
        // The document of a 1-based tab position, or null.
        std::function<AbstractDocument *(int position)> at;
        // Whether a document is being activated: clicks wait for it to finish.
        std::function<bool()> activating;
    };

    DocumentTabClicks(DocumentTabBar *tabBar, Documents documents, QObject *parent = nullptr);

    // A click on the tab at the position, as the button and modifiers make it. Ignored while a
    // document is being activated.
    void clickTab(int position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                  const QPoint &globalPos);

signals:
    void frontRequested(AbstractDocument *document);
    // A tab action (see DocumentArea::runTabAction) for the document; a tab menu opens at the
    // point.
    void tabActionRequested(AbstractDocument *document, int action, const QPoint &at);
    void closeRequested(AbstractDocument *document);
    void newMenuRequested(const QPoint &at);
    void newTabRequested();

private:
    void onTabPressed(int position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                      const QPoint &globalPos);
    void onTabDoubleClicked(int position, const QPoint &globalPos);
    void onTabCloseRequested(int index);

    Documents m_documents;
    // The document of the last press on a tab: a double click acts on it or not at all.
    QPointer<AbstractDocument> m_pressed;
};
