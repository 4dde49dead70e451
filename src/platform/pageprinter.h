#pragma once

#include <QObject>
#include <QPageLayout>
#include <QPointer>

#include <functional>

class QPrinter;
class QPrintPreviewWidget;
class QWebEnginePage;
class QWebEngineView;
class QWidget;

// Print, print preview and page setup of one page. The engine lays the page out as a PDF
// document first (asynchronously); the preview and a printer then draw that document's pages,
// and printing to a PDF file writes the engine's document itself. One print runs at a time in
// the whole program: a print or preview asked for meanwhile is refused with a message. What the
// printing is doing shows as status texts.
class PagePrinter : public QObject
{
    Q_OBJECT
public:
    // Prints the page the view shows at the time of each command.
    PagePrinter(QWebEngineView *view, QWidget *dialogParent);
    ~PagePrinter() override;

    // The print dialog, then the print.
    void print();
    // The page laid out, then the preview window with its pages.
    void printPreview();
    // The page setup dialog; its choice applies to the prints and previews that follow.
    void pageSetup();

    // Draws every page of a PDF document onto the printer, each as a picture of the printer's
    // resolution (at most dpiLimit dots per inch). False when the document cannot be read.
    static bool paintPdf(const QByteArray &pdf, QPrinter *printer, int dpiLimit);

signals:
    // A text for the status bar: preparing, printing, finished or failed.
    void statusChanged(const QString &text);

private:
    // Takes the one print of the program; false (and a message) when another runs.
    bool begin();
    void end(const QString &status);
    void layOut(const QPageLayout &layout, std::function<void(const QByteArray &)> done);
    void showPreview(const QByteArray &firstPdf);

    QWebEnginePage *page() const;

    QPointer<QWebEngineView> m_view;
    QPointer<QWidget> m_dialogParent;
    bool m_running = false;
};
