#include "pageprinter.h"

#include "core/strings.h"
#include "widgets/plainmessagebox.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfDocument>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryFile>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

namespace {

// Status texts and messages.
constexpr int kPreparingPreview = 14900;
constexpr int kPrinting = 14901;
constexpr int kPrinted = 14902;
constexpr int kPrintFailed = 14903;
constexpr int kPrintBusy = 14904;
constexpr int kPreviewFailed = 14905;

// Pictures of the pages: enough for a preview on screen and for paper.
constexpr int kPreviewDpi = 150;
constexpr int kPrinterDpi = 300;

bool s_busy = false;

// The paper, orientation and margins of the prints of this run (the page setup's choice).
QPageLayout &sharedLayout()
{
    static QPageLayout layout = QPrinter().pageLayout();
    return layout;
}

bool sameLayout(const QPageLayout &a, const QPageLayout &b)
{
    return a.pageSize().isEquivalentTo(b.pageSize()) && a.orientation() == b.orientation()
        && a.margins(QPageLayout::Point) == b.margins(QPageLayout::Point);
}

} // namespace

PagePrinter::PagePrinter(QWebEngineView *view, QWidget *dialogParent)
    : QObject(dialogParent), m_view(view), m_dialogParent(dialogParent)
{
}

QWebEnginePage *PagePrinter::page() const
{
    return m_view ? m_view->page() : nullptr;
}

PagePrinter::~PagePrinter()
{
    if (m_running)
        s_busy = false;
}

bool PagePrinter::begin()
{
    if (s_busy) {
        plainMessageBox(m_dialogParent, QMessageBox::Information, loadResString(100),
                        loadResString(kPrintBusy));
        return false;
    }
    s_busy = true;
    m_running = true;
    return true;
}

void PagePrinter::end(const QString &status)
{
    if (m_running)
        s_busy = false;
    m_running = false;
    emit statusChanged(status);
}

void PagePrinter::layOut(const QPageLayout &layout, std::function<void(const QByteArray &)> done)
{
    QWebEnginePage *page = this->page();
    if (!page) {
        done(QByteArray());
        return;
    }
    // The engine answers later, from the event loop; the answer goes on from the event loop
    // again, so that no dialog's loop runs inside the engine's callback.
    QPointer<PagePrinter> self(this);
    page->printToPdf(
        [self, done = std::move(done)](const QByteArray &pdf) {
            if (!self)
                return;
            QMetaObject::invokeMethod(self, [done, pdf] { done(pdf); }, Qt::QueuedConnection);
        },
        layout);
}

bool PagePrinter::paintPdf(const QByteArray &pdf, QPrinter *printer, int dpiLimit)
{
    QTemporaryFile file;
    if (pdf.isEmpty() || !file.open() || file.write(pdf) != pdf.size() || !file.flush())
        return false;
    QPdfDocument document;
    if (document.load(file.fileName()) != QPdfDocument::Error::None || document.pageCount() < 1)
        return false;
    // The document's pages are whole sheets, margins included.
    printer->setFullPage(true);
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    const int dpi = qMin(dpiLimit, printer->resolution());
    const QRectF sheet = printer->paperRect(QPrinter::DevicePixel);
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0 && !printer->newPage())
            return false;
        const QSize pixels = (document.pagePointSize(i) * dpi / 72.0).toSize();
        const QImage image = document.render(i, pixels);
        if (image.isNull())
            return false;
        painter.drawImage(QRectF(sheet.topLeft(), sheet.size()), image);
    }
    return painter.end();
}

void PagePrinter::printPreview()
{
    if (!page() || !begin())
        return;
    emit statusChanged(loadResString(kPreparingPreview));
    QPointer<PagePrinter> self(this);
    layOut(sharedLayout(), [self](const QByteArray &pdf) {
        if (self)
            self->showPreview(pdf);
    });
}

void PagePrinter::showPreview(const QByteArray &firstPdf)
{
    if (firstPdf.isEmpty()) {
        end(loadResString(kPrintFailed));
        plainMessageBox(m_dialogParent, QMessageBox::Warning, loadResString(100),
                        loadResString(kPreviewFailed));
        return;
    }
    emit statusChanged(QString());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(sharedLayout());
    QPrintPreviewDialog preview(&printer, m_dialogParent);
    // Large enough to read a page.
    if (m_dialogParent)
        preview.resize(m_dialogParent->window()->size() * 3 / 4);
    auto *pages = preview.findChild<QPrintPreviewWidget *>();
    // The pages as laid out for one paper; another paper chosen in the preview lays the page
    // out again, and the preview shows the old pages until the new ones are there.
    QByteArray pdf = firstPdf;
    QPageLayout pdfLayout = sharedLayout();
    bool layingOut = false;
    QPointer<QPrintPreviewWidget> pagesGuard(pages);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter *target) {
        const QPageLayout wanted = target->pageLayout();
        if (!sameLayout(wanted, pdfLayout) && !layingOut && pages) {
            layingOut = true;
            layOut(wanted, [&, pagesGuard, wanted](const QByteArray &newPdf) {
                if (!pagesGuard)
                    return; // the preview closed meanwhile
                layingOut = false;
                if (newPdf.isEmpty())
                    return;
                pdf = newPdf;
                pdfLayout = wanted;
                pagesGuard->updatePreview();
            });
        }
        if (!paintPdf(pdf, target, kPreviewDpi))
            emit statusChanged(loadResString(kPrintFailed));
    });
    preview.exec();
    sharedLayout() = printer.pageLayout();
    end(QString());
}

void PagePrinter::print()
{
    if (!page() || !begin())
        return;
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(sharedLayout());
    QPrintDialog dialog(printer.get(), m_dialogParent);
    QWebEnginePage *page = dialog.exec() == QDialog::Accepted ? this->page() : nullptr;
    if (!page) {
        end(QString());
        return;
    }
    sharedLayout() = printer->pageLayout();
    emit statusChanged(loadResString(kPrinting));
    QPointer<PagePrinter> self(this);
    const auto finish = [self](bool ok) {
        if (!self)
            return;
        self->end(loadResString(ok ? kPrinted : kPrintFailed));
        if (!ok)
            plainMessageBox(self->m_dialogParent, QMessageBox::Warning, loadResString(100),
                            loadResString(kPrintFailed));
    };
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
        // A PDF file: the engine writes its own document, text and all.
        connect(page, &QWebEnginePage::pdfPrintingFinished, this,
                [finish](const QString &, bool ok) { finish(ok); }, Qt::SingleShotConnection);
        page->printToPdf(printer->outputFileName(), printer->pageLayout(), printer->pageRanges());
        return;
    }
    layOut(printer->pageLayout(), [printer, finish](const QByteArray &pdf) {
        finish(paintPdf(pdf, printer.get(), kPrinterDpi));
    });
}

void PagePrinter::pageSetup()
{
    QPrinter printer;
    printer.setPageLayout(sharedLayout());
    QPageSetupDialog dialog(&printer, m_dialogParent);
    if (dialog.exec() == QDialog::Accepted)
        sharedLayout() = printer.pageLayout();
}
