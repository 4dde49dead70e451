#include "pagecommands.h"

#include "commandhost.h"
#include "commandregistry.h"
#include "document/documentwindow.h"
#include "document/findbar.h"
#include "platform/webbrowser.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// The page whose view holds the widget, if any.
QWebEnginePage *pageOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *view = qobject_cast<QWebEngineView *>(w))
            return view->page();
    }
    return nullptr;
}

// Runs Cut, Copy or Paste on whatever has the keyboard focus: a page, or a text field.
void editCommand(QWidget *focus, QWebEnginePage::WebAction action)
{
    if (!focus)
        return;
    if (QWebEnginePage *page = pageOf(focus)) {
        page->triggerAction(action);
        return;
    }
    if (auto *combo = qobject_cast<QComboBox *>(focus))
        focus = combo->lineEdit();
    auto run = [action](auto *editor) {
        if (action == QWebEnginePage::Cut)
            editor->cut();
        else if (action == QWebEnginePage::Copy)
            editor->copy();
        else
            editor->paste();
    };
    if (auto *line = qobject_cast<QLineEdit *>(focus))
        run(line);
    else if (auto *text = qobject_cast<QTextEdit *>(focus))
        run(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
        run(plain);
}

} // namespace

PageCommands::PageCommands(CommandHost &host, CommandRegistry &commands, QObject *parent)
    : QObject(parent), m_host(host), m_commands(commands)
{
    registerCommands();
}

void PageCommands::registerCommands()
{
    using P = PageCommands;
    const struct
    {
        const char *key;
        void (PageCommands::*body)();
    } commands[] = {
        {"mnuEditCut", &P::cut},
        {"mnuEditCopy", &P::copy},
        {"mnuEditPaste", &P::paste},
        {"mnuEditSelectAll", &P::selectAll},
        {"mnuEditFind", &P::findInPage},
        // The page's own keys that have no menu item.
        {"PageFindNext", &P::findNext},
        {"PageFindPrevious", &P::findPrevious},
        {"PageZoomIn", &P::zoomIn},
        {"PageZoomOut", &P::zoomOut},
        {"PageZoomReset", &P::resetZoom},
    };
    for (const auto &command : commands)
        m_commands.add(QLatin1String(command.key), this, command.body);

    // Text size: one step larger or smaller, or back to medium (zoom levels 0..4).
    const struct
    {
        const char *key;
        int step;
    } textSizes[] = {{"mnuEditIncFont", 1}, {"mnuEditDecFont", -1}, {"mnuEditResetFont", 0}};
    for (const auto &entry : textSizes) {
        const int step = entry.step;
        connect(m_commands.add(QLatin1String(entry.key)), &QAction::triggered, this,
                [this, step] { changeTextSize(step); });
    }
}

// ---------------------------------------------------------------- edit

void PageCommands::cut()
{
    editCommand(QApplication::focusWidget(), QWebEnginePage::Cut);
}

void PageCommands::copy()
{
    editCommand(QApplication::focusWidget(), QWebEnginePage::Copy);
}

void PageCommands::paste()
{
    editCommand(QApplication::focusWidget(), QWebEnginePage::Paste);
}

void PageCommands::selectAll()
{
    if (m_host.addressHasFocus()) {
        m_host.addressBar()->lineEdit()->selectAll();
        return;
    }
    QWidget *focus = QApplication::focusWidget();
    if (auto *text = qobject_cast<QTextEdit *>(focus)) {
        text->selectAll();
        return;
    }
    if (auto *plain = qobject_cast<QPlainTextEdit *>(focus)) {
        plain->selectAll();
        return;
    }
    if (DocumentWindow *document = m_host.activeDocument())
        document->execCommand(WebBrowser::SelectAll);
}

void PageCommands::findInPage()
{
    if (DocumentWindow *document = m_host.activeDocument())
        document->showFindBar();
}

void PageCommands::findNext()
{
    DocumentWindow *document = m_host.activeDocument();
    if (document && document->findBar())
        document->findBar()->findNext();
}

void PageCommands::findPrevious()
{
    DocumentWindow *document = m_host.activeDocument();
    if (document && document->findBar())
        document->findBar()->findPrevious();
}

void PageCommands::zoomIn()
{
    if (DocumentWindow *document = m_host.activeDocument())
        document->stepPageZoom(1);
}

void PageCommands::zoomOut()
{
    if (DocumentWindow *document = m_host.activeDocument())
        document->stepPageZoom(-1);
}

void PageCommands::resetZoom()
{
    if (DocumentWindow *document = m_host.activeDocument())
        document->stepPageZoom(0);
}

void PageCommands::changeTextSize(int step)
{
    DocumentWindow *document = m_host.activeDocument();
    if (!document)
        return;
    QVariant level;
    document->execBrowserCommand(WebBrowser::Zoom, QVariant(), &level);
    const int current = level.toInt();
    if (step > 0)
        document->execBrowserCommand(WebBrowser::Zoom, qMin(current + 1, 4));
    else if (step < 0)
        document->execBrowserCommand(WebBrowser::Zoom, qMax(current - 1, 0));
    else if (current != 2)
        document->execBrowserCommand(WebBrowser::Zoom, 2);
}
