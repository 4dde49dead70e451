#include "frmnavigator.h"

#include "core/olecolor.h"
#include "core/strings.h"
#include "document/frmdocument.h"
#include "frmmain.h"

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

frmNavigator::frmNavigator(frmMain *frame)
    : QWidget(frame, Qt::Tool | Qt::FramelessWindowHint), m_frame(frame)
{
    setObjectName(QStringLiteral("frmNavigator"));
    setProperty(kTagProperty, ResId(2500));
    resize(twipsToPixels(6240), twipsToPixels(1305));

    cToolbar1 = new QToolBar(this);
    cToolbar1->setObjectName(QStringLiteral("cToolbar1"));
    cToolbar1->setIconSize(QSize(16, 16));
    cToolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto addButton = [this](const char *key, int id, QStyle::StandardPixmap icon) {
        QAction *action = cToolbar1->addAction(style()->standardIcon(icon), ResId(id));
        action->setObjectName(QLatin1String(key));
        action->setToolTip(ResId(id));
        return action;
    };
    connect(addButton("New", 1101, QStyle::SP_FileIcon), &QAction::triggered, frame, &frmMain::NewHome1);
    connect(addButton("Back", 1102, QStyle::SP_ArrowBack), &QAction::triggered, frame, &frmMain::Back);
    connect(addButton("Forward", 1103, QStyle::SP_ArrowForward), &QAction::triggered, frame, &frmMain::Forward);
    connect(addButton("Refresh", 1104, QStyle::SP_BrowserReload), &QAction::triggered, frame, &frmMain::Refresh);
    connect(addButton("Stop", 1105, QStyle::SP_BrowserStop), &QAction::triggered, frame, &frmMain::StopLoading);
    cToolbar1->addSeparator();
    m_sticky = addButton("Sticky", 1191, QStyle::SP_DialogApplyButton);
    m_sticky->setCheckable(true);
    connect(m_sticky, &QAction::toggled, this, [this](bool down) {
        m_sticky->setToolTip(LoadResString(down ? 2501 : 2502));
    });

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(2);
    ListView1->setRootIsDecorated(false);
    ListView1->setSortingEnabled(false);
    ListView1->headerItem()->setData(0, kHeaderTagRole, ResId(2503));
    ListView1->headerItem()->setData(1, kHeaderTagRole, ResId(2504));
    connect(ListView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (!item)
            return;
        if (frmDocument *document = RowDocument(ListView1->indexOfTopLevelItem(item) + 1))
            m_frame->BringToFront(document);
        activateWindow();
    });

    LoadResStrings(this);

    Timer1.setInterval(50);
    connect(&Timer1, &QTimer::timeout, this, &frmNavigator::Timer1_Timer);
}

int frmNavigator::RowCount() const
{
    return ListView1->topLevelItemCount();
}

int frmNavigator::AppendRow(const QString &text, frmDocument *document)
{
    auto *item = new QTreeWidgetItem(QStringList{text, QString()});
    item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
    item->setData(0, kDocumentRole, QVariant::fromValue(QPointer<frmDocument>(document)));
    ListView1->addTopLevelItem(item);
    return RowCount();
}

void frmNavigator::RemoveRow(int row)
{
    if (row >= 1 && row <= RowCount())
        delete ListView1->takeTopLevelItem(row - 1);
}

frmDocument *frmNavigator::RowDocument(int row) const
{
    if (row < 1 || row > RowCount())
        return nullptr;
    return ListView1->topLevelItem(row - 1)->data(0, kDocumentRole).value<QPointer<frmDocument>>();
}

QString frmNavigator::RowText(int row) const
{
    return row >= 1 && row <= RowCount() ? ListView1->topLevelItem(row - 1)->text(0) : QString();
}

void frmNavigator::SetRowText(int row, const QString &text)
{
    if (row >= 1 && row <= RowCount())
        ListView1->topLevelItem(row - 1)->setText(0, text);
}

QString frmNavigator::RowStatus(int row) const
{
    return row >= 1 && row <= RowCount() ? ListView1->topLevelItem(row - 1)->text(1) : QString();
}

void frmNavigator::SetRowStatus(int row, const QString &text)
{
    if (row >= 1 && row <= RowCount())
        ListView1->topLevelItem(row - 1)->setText(1, text);
}

bool frmNavigator::RowBold(int row) const
{
    return row >= 1 && row <= RowCount() && ListView1->topLevelItem(row - 1)->font(0).bold();
}

void frmNavigator::SetRowBold(int row, bool bold)
{
    if (row < 1 || row > RowCount())
        return;
    QTreeWidgetItem *item = ListView1->topLevelItem(row - 1);
    for (int column = 0; column < 2; ++column) {
        QFont font = item->font(column);
        font.setBold(bold);
        item->setFont(column, font);
    }
}

bool frmNavigator::StickyDown() const
{
    return m_sticky->isChecked();
}

int frmNavigator::heightTwips() const
{
    return int(pixelsToTwips(height()));
}

void frmNavigator::setHeightTwips(int twips)
{
    resize(width(), qMax(1, twipsToPixels(twips)));
}

int frmNavigator::toolbarHeightTwips() const
{
    return int(pixelsToTwips(cToolbar1->sizeHint().height()));
}

void frmNavigator::Timer1_Timer()
{
    if (Timer1Tag != QLatin1String("0")) {
        if (toolbarHeightTwips() < heightTwips()) {
            if (!StickyDown())
                setHeightTwips(heightTwips() - kStepTwips);
        } else {
            setHeightTwips(toolbarHeightTwips());
            Timer1.stop();
        }
    } else {
        if (heightTwips() < kMaxHeightTwips) {
            if (!StickyDown())
                setHeightTwips(heightTwips() + kStepTwips);
        } else {
            Timer1.stop();
        }
    }
}

void frmNavigator::startGrowing()
{
    Timer1Tag = QStringLiteral("0");
    Timer1.start();
}

void frmNavigator::startShrinking()
{
    Timer1Tag = QStringLiteral("1");
    Timer1.start();
}

void frmNavigator::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int toolbarHeight = cToolbar1->sizeHint().height();
    cToolbar1->setGeometry(0, 0, width(), toolbarHeight);
    ListView1->setGeometry(1, toolbarHeight, qMax(0, width() - 1),
                           toolbarHeight <= height() ? height() - toolbarHeight : 0);
}

void frmNavigator::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    startGrowing();
}

void frmNavigator::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            startGrowing();
        else
            startShrinking();
    }
}
