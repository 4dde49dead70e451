#include "framecommandhost.h"

#include "document/documentwindow.h"
#include "frame/address/addressbar.h"
#include "frame/chrome/framechrome.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/dialogs/windowlistdialog.h"
#include "frame/documents/documentarea.h"

#include <QMainWindow>

QWidget *FrameCommandHost::frameWidget()
{
    return m_parts.frame;
}

// ---------------------------------------------------------------- documents

DocumentWindow *FrameCommandHost::activeDocument() const
{
    return qobject_cast<DocumentWindow *>(m_parts.documents->activeDocument());
}

QList<DocumentWindow *> FrameCommandHost::documents() const
{
    QList<DocumentWindow *> documents;
    for (AbstractDocument *document : m_parts.documents->documents()) {
        if (auto *window = qobject_cast<DocumentWindow *>(document))
            documents.append(window);
    }
    return documents;
}

void FrameCommandHost::openDocument(const QString &address)
{
    m_parts.documents->openDocument(address);
}

void FrameCommandHost::bringToFront(DocumentWindow *document)
{
    m_parts.documents->bringToFront(document);
}

void FrameCommandHost::runTabAction(DocumentWindow *document, int action)
{
    m_parts.documents->runTabAction(document, action);
}

QString FrameCommandHost::lastClosedAddress() const
{
    return m_parts.documents->lastClosedAddress();
}

void FrameCommandHost::showWindowList()
{
    WindowListDialog list(documents(), m_parts.frame);
    if (list.exec() == QDialog::Accepted && list.chosen())
        bringToFront(list.chosen());
}

// ---------------------------------------------------------------- chrome

ToolBarBands *FrameCommandHost::bands()
{
    return m_parts.chrome->bands();
}

void FrameCommandHost::setBandsAlignment(int alignment)
{
    m_parts.chrome->setBandsAlignment(alignment);
}

QWidget *FrameCommandHost::statusCanvas()
{
    return m_parts.statusBar->canvas();
}

PanelStatusBar *FrameCommandHost::statusBar()
{
    return m_parts.statusBar->panels();
}

StripToolBar *FrameCommandHost::toolBar(const QString &bandKey)
{
    return m_parts.chrome->toolBar(bandKey);
}

void FrameCommandHost::setToolbarShowText(StripToolBar *toolbar, const QString &bandKey, bool show)
{
    m_parts.chrome->setToolbarShowText(toolbar, bandKey, show);
}

void FrameCommandHost::setToolbarTextRight(StripToolBar *toolbar, const QString &bandKey, bool right)
{
    m_parts.chrome->setToolbarTextRight(toolbar, bandKey, right);
}

void FrameCommandHost::setToolbarLargeIcons(StripToolBar *toolbar, bool large)
{
    m_parts.chrome->setToolbarLargeIcons(toolbar, large);
}

void FrameCommandHost::showCustomLinkButtons()
{
    m_parts.chrome->showCustomLinkButtons();
}

QString FrameCommandHost::nextSkin() const
{
    return m_parts.chrome->nextSkin();
}

void FrameCommandHost::setNextSkin(const QString &skin)
{
    m_parts.chrome->setNextSkin(skin);
}

// ---------------------------------------------------------------- address bar

QComboBox *FrameCommandHost::addressBar()
{
    return m_parts.addressBar->comboBox();
}

bool FrameCommandHost::addressHasFocus() const
{
    return m_parts.addressBar->hasFocus();
}

void FrameCommandHost::go()
{
    m_parts.addressBar->onGoButton();
}

int FrameCommandHost::searchEngine() const
{
    return m_parts.addressBar->searchEngine();
}

void FrameCommandHost::setSearchEngine(int engine)
{
    m_parts.addressBar->setSearchEngine(engine);
}

void FrameCommandHost::searchWeb(int engine, const QString &text)
{
    m_parts.addressBar->searchWeb(engine, text);
}
