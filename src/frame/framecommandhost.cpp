#include "framecommandhost.h"

#include "addressbar.h"
#include "document/documentwindow.h"
#include "documentarea.h"
#include "framechrome.h"
#include "framestatusbar.h"
#include "windowlistdialog.h"

#include <QMainWindow>

FrameCommandHost::FrameCommandHost(QMainWindow &frame, DocumentArea &documents,
                                   FrameFunctions functions)
    : m_frame(frame), m_documents(documents), m_functions(std::move(functions))
{
}

void FrameCommandHost::setParts(FrameChrome *chrome, AddressBar *address,
                                FrameStatusBar *statusBar, QDockWidget *sidebarDock)
{
    m_chrome = chrome;
    m_address = address;
    m_statusBar = statusBar;
    m_sidebarDock = sidebarDock;
}

QWidget *FrameCommandHost::frameWidget()
{
    return &m_frame;
}

// ---------------------------------------------------------------- documents

DocumentWindow *FrameCommandHost::activeDocument() const
{
    return qobject_cast<DocumentWindow *>(m_documents.activeDocument());
}

QList<DocumentWindow *> FrameCommandHost::documents() const
{
    QList<DocumentWindow *> documents;
    for (AbstractDocument *document : m_documents.documents()) {
        if (auto *window = qobject_cast<DocumentWindow *>(document))
            documents.append(window);
    }
    return documents;
}

void FrameCommandHost::openDocument(const QString &address)
{
    m_documents.openDocument(address);
}

void FrameCommandHost::bringToFront(DocumentWindow *document)
{
    m_documents.bringToFront(document);
}

void FrameCommandHost::runTabAction(DocumentWindow *document, int action)
{
    m_documents.runTabAction(document, action);
}

QString FrameCommandHost::lastClosedAddress() const
{
    return m_documents.lastClosedAddress();
}

void FrameCommandHost::showWindowList()
{
    WindowListDialog list(documents(), &m_frame);
    if (list.exec() == QDialog::Accepted && list.chosen())
        bringToFront(list.chosen());
}

// ---------------------------------------------------------------- chrome

ToolBarBands *FrameCommandHost::bands()
{
    return m_chrome->bands();
}

void FrameCommandHost::setBandsAlignment(int alignment)
{
    m_chrome->setBandsAlignment(alignment);
}

QWidget *FrameCommandHost::statusCanvas()
{
    return m_statusBar->canvas();
}

PanelStatusBar *FrameCommandHost::statusBar()
{
    return m_statusBar->panels();
}

StripToolBar *FrameCommandHost::toolBar(const QString &bandKey)
{
    return m_chrome->toolBar(bandKey);
}

void FrameCommandHost::setToolbarShowText(StripToolBar *toolbar, const QString &bandKey, bool show)
{
    m_chrome->setToolbarShowText(toolbar, bandKey, show);
}

void FrameCommandHost::setToolbarTextRight(StripToolBar *toolbar, const QString &bandKey, bool right)
{
    m_chrome->setToolbarTextRight(toolbar, bandKey, right);
}

void FrameCommandHost::setToolbarLargeIcons(StripToolBar *toolbar, bool large)
{
    m_chrome->setToolbarLargeIcons(toolbar, large);
}

void FrameCommandHost::showCustomLinkButtons()
{
    m_chrome->showCustomLinkButtons();
}

QString FrameCommandHost::nextSkin() const
{
    return m_chrome->nextSkin();
}

void FrameCommandHost::setNextSkin(const QString &skin)
{
    m_chrome->setNextSkin(skin);
}

// ---------------------------------------------------------------- address bar

QComboBox *FrameCommandHost::addressBar()
{
    return m_address->comboBox();
}

bool FrameCommandHost::addressHasFocus() const
{
    return m_address->hasFocus();
}

void FrameCommandHost::go()
{
    m_address->onGoButton();
}

int FrameCommandHost::searchEngine() const
{
    return m_address->searchEngine();
}

void FrameCommandHost::setSearchEngine(int engine)
{
    m_address->setSearchEngine(engine);
}

void FrameCommandHost::searchWeb(int engine, const QString &text)
{
    m_address->searchWeb(engine, text);
}
