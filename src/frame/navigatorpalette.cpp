#include "navigatorpalette.h"

#include "commandbindings.h"
#include "commandregistry.h"
#include "core/storedcolor.h"
#include "core/strings.h"
#include "document/documentwindow.h"
#include "mainwindow.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

namespace {
constexpr int kDocumentRole = Qt::UserRole + 1;
constexpr int kStepTwips = 250;
constexpr int kMaxHeightTwips = 5000;
} // namespace

NavigatorPalette::NavigatorPalette(MainWindow *frame)
    : QWidget(frame, Qt::Tool | Qt::FramelessWindowHint), m_frame(frame)
{
    setObjectName(QStringLiteral("frmNavigator"));
    setProperty(kTagProperty, resId(2500));
    resize(twipsToPixels(6240), twipsToPixels(1305));

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("cToolbar1"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto addButton = [this](const char *key, int id, QStyle::StandardPixmap icon) {
        QAction *action = m_toolBar->addAction(style()->standardIcon(icon), resId(id));
        action->setObjectName(QLatin1String(key));
        action->setToolTip(resId(id));
        return action;
    };
    // These buttons run what the browse toolbar's buttons of the same keys run.
    auto addCommandButton = [&](const char *key, int id, QStyle::StandardPixmap icon) {
        const CommandBindings::ButtonCommand command =
            CommandBindings::buttonCommand(QStringLiteral("Toolbar1"), QLatin1String(key), false);
        connect(addButton(key, id, icon), &QAction::triggered, frame,
                [frame, command] { frame->commands()->trigger(command.key); });
    };
    addCommandButton("New", 1101, QStyle::SP_FileIcon);
    addCommandButton("Back", 1102, QStyle::SP_ArrowBack);
    addCommandButton("Forward", 1103, QStyle::SP_ArrowForward);
    addCommandButton("Refresh", 1104, QStyle::SP_BrowserReload);
    addCommandButton("Stop", 1105, QStyle::SP_BrowserStop);
    m_toolBar->addSeparator();
    m_sticky = addButton("Sticky", 1191, QStyle::SP_DialogApplyButton);
    m_sticky->setCheckable(true);
    connect(m_sticky, &QAction::toggled, this, [this](bool down) {
        m_sticky->setToolTip(loadResString(down ? 2501 : 2502));
    });

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setColumnCount(2);
    m_list->setRootIsDecorated(false);
    m_list->setSortingEnabled(false);
    m_list->headerItem()->setData(0, kHeaderTagRole, resId(2503));
    m_list->headerItem()->setData(1, kHeaderTagRole, resId(2504));
    connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (!item)
            return;
        if (DocumentWindow *document = rowDocument(m_list->indexOfTopLevelItem(item) + 1))
            m_frame->bringToFront(document);
        activateWindow();
    });

    loadResStrings(this);

    m_foldTimer.setInterval(50);
    connect(&m_foldTimer, &QTimer::timeout, this, &NavigatorPalette::onFoldTick);
}

int NavigatorPalette::rowCount() const
{
    return m_list->topLevelItemCount();
}

int NavigatorPalette::appendRow(const QString &text, DocumentWindow *document)
{
    auto *item = new QTreeWidgetItem(QStringList{text, QString()});
    item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
    item->setData(0, kDocumentRole, QVariant::fromValue(QPointer<DocumentWindow>(document)));
    m_list->addTopLevelItem(item);
    return rowCount();
}

void NavigatorPalette::removeRow(int row)
{
    if (row >= 1 && row <= rowCount())
        delete m_list->takeTopLevelItem(row - 1);
}

DocumentWindow *NavigatorPalette::rowDocument(int row) const
{
    if (row < 1 || row > rowCount())
        return nullptr;
    return m_list->topLevelItem(row - 1)->data(0, kDocumentRole).value<QPointer<DocumentWindow>>();
}

QString NavigatorPalette::rowText(int row) const
{
    return row >= 1 && row <= rowCount() ? m_list->topLevelItem(row - 1)->text(0) : QString();
}

void NavigatorPalette::setRowText(int row, const QString &text)
{
    if (row >= 1 && row <= rowCount())
        m_list->topLevelItem(row - 1)->setText(0, text);
}

QString NavigatorPalette::rowStatus(int row) const
{
    return row >= 1 && row <= rowCount() ? m_list->topLevelItem(row - 1)->text(1) : QString();
}

void NavigatorPalette::setRowStatus(int row, const QString &text)
{
    if (row >= 1 && row <= rowCount())
        m_list->topLevelItem(row - 1)->setText(1, text);
}

bool NavigatorPalette::rowBold(int row) const
{
    return row >= 1 && row <= rowCount() && m_list->topLevelItem(row - 1)->font(0).bold();
}

void NavigatorPalette::setRowBold(int row, bool bold)
{
    if (row < 1 || row > rowCount())
        return;
    QTreeWidgetItem *item = m_list->topLevelItem(row - 1);
    for (int column = 0; column < 2; ++column) {
        QFont font = item->font(column);
        font.setBold(bold);
        item->setFont(column, font);
    }
}

bool NavigatorPalette::stickyDown() const
{
    return m_sticky->isChecked();
}

int NavigatorPalette::heightTwips() const
{
    return int(pixelsToTwips(height()));
}

void NavigatorPalette::setHeightTwips(int twips)
{
    resize(width(), qMax(1, twipsToPixels(twips)));
}

int NavigatorPalette::toolbarHeightTwips() const
{
    return int(pixelsToTwips(m_toolBar->sizeHint().height()));
}

void NavigatorPalette::onFoldTick()
{
    if (m_foldTag != QLatin1String("0")) {
        if (toolbarHeightTwips() < heightTwips()) {
            if (!stickyDown())
                setHeightTwips(heightTwips() - kStepTwips);
        } else {
            setHeightTwips(toolbarHeightTwips());
            m_foldTimer.stop();
        }
    } else {
        if (heightTwips() < kMaxHeightTwips) {
            if (!stickyDown())
                setHeightTwips(heightTwips() + kStepTwips);
        } else {
            m_foldTimer.stop();
        }
    }
}

void NavigatorPalette::startGrowing()
{
    m_foldTag = QStringLiteral("0");
    m_foldTimer.start();
}

void NavigatorPalette::startShrinking()
{
    m_foldTag = QStringLiteral("1");
    m_foldTimer.start();
}

void NavigatorPalette::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int toolbarHeight = m_toolBar->sizeHint().height();
    m_toolBar->setGeometry(0, 0, width(), toolbarHeight);
    m_list->setGeometry(1, toolbarHeight, qMax(0, width() - 1),
                           toolbarHeight <= height() ? height() - toolbarHeight : 0);
}

void NavigatorPalette::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    startGrowing();
}

void NavigatorPalette::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            startGrowing();
        else
            startShrinking();
    }
}
