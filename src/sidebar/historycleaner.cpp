#include "historycleaner.h"

#include "core/storedcolor.h"
#include "core/strings.h"
#include "platform/browsingdata.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QStyle>

#include <functional>

CleanProgressWindow::CleanProgressWindow(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmCleanProgress"));
    setWindowTitle(loadResString(100));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(twipsToPixels(4890), twipsToPixels(750));

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    auto *picture = new QLabel(frame);
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
    picture->setPixmap(style()->standardIcon(QStyle::SP_TrashIcon).pixmap(side, side));
    m_status = new QLabel(frame);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    m_status->setFont(font);

    auto *row = new QHBoxLayout(frame);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(picture);
    row->addWidget(m_status, 1);
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(frame);
}

void CleanProgressWindow::setStatus(const QString &text)
{
    m_status->setText(text);
}

namespace HistoryCleaner {

void deleteHistory(const SidebarHost &host, Kinds kinds, QWidget *owner, HistoryStore *store,
                   const std::function<void(bool ok)> &done)
{
    if (!(kinds & AllKinds)) {
        done(true);
        return;
    }
    const SidebarHost frame = host; // the caller's copy may go while events are handled

    struct Step
    {
        Kind kind;
        int status;
        std::function<bool()> act;
    };
    const Step steps[] = {
        {AddressList, 8507, [&] {
             if (frame.clearTypedAddresses)
                 frame.clearTypedAddresses();
             return true;
         }},
        {SearchList, 8508, [&] {
             if (frame.clearSearchList)
                 frame.clearSearchList();
             return true;
         }},
        {Cookies, 8509, [] { return BrowsingData::clearCookies(); }},
        {InternetHistory, 8510, [&] { return BrowsingData::clearHistory(store); }},
    };

    QPointer<CleanProgressWindow> window = new CleanProgressWindow(owner);
    if (owner)
        window->move(owner->window()->frameGeometry().center() - window->rect().center());
    window->show();
    window->setCursor(Qt::WaitCursor);
    const auto end = [window, done](bool ok) {
        delete window.data();
        done(ok);
    };

    for (const Step &step : steps) {
        if (!(kinds & step.kind))
            continue;
        if (window)
            window->setStatus(loadResString(step.status));
        QCoreApplication::processEvents();
        if (!step.act()) {
            end(false);
            return;
        }
    }
    if (!(kinds & TemporaryFiles)) {
        QCoreApplication::processEvents();
        end(true);
        return;
    }
    // The engine empties its cache in the background; the window stays until it has.
    if (window)
        window->setStatus(loadResString(8511));
    QObject::connect(CacheClearing::start(), &CacheClearing::finished, end);
}

} // namespace HistoryCleaner
