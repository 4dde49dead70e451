#include "navigatorpalette.h"
#include "widgets/standardicons.h"

#include "core/storedcolor.h"
#include "core/strings.h"
#include "skinpaint.h"
#include "striptoolbar.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {
constexpr int kStepTwips = 250;
constexpr int kMaxHeightTwips = 5000;
const QString kSticky = QStringLiteral("Sticky");
} // namespace

NavigatorPalette::NavigatorPalette(QWidget *window)
    : QWidget(window, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmNavigator"));
    setProperty(kTagProperty, resId(2500));
    setMouseTracking(true);

    createToolBar();

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setColumnCount(2);
    m_list->setRootIsDecorated(false);
    m_list->setSortingEnabled(false);
    m_list->headerItem()->setData(0, kHeaderTagRole, resId(2503));
    m_list->headerItem()->setData(1, kHeaderTagRole, resId(2504));
    m_list->viewport()->setMouseTracking(true);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (!item)
            return;
        Q_EMIT rowClicked(m_list->indexOfTopLevelItem(item) + 1);
        activateWindow();
    });

    loadResStrings(this);

    // Never narrower than the toolbar with all its buttons.
    setMinimumWidth(m_toolBar->naturalWidth());
    resize(qMax(twipsToPixels(6240), minimumWidth()), twipsToPixels(1305));

    m_foldTimer = new QTimer(this);
    m_foldTimer->setObjectName(QStringLiteral("Timer1"));
    m_foldTimer->setInterval(50);
    connect(m_foldTimer, &QTimer::timeout, this, &NavigatorPalette::onFoldTick);
}

void NavigatorPalette::createToolBar()
{
    m_toolBar = new StripToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("cToolbar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setImageSource(ImageStrip::toolbarStripFile(false));
    m_toolBar->createToolBar(16, true, true);
    const auto add = [this](const char *key, int id, int image, qint32 style) {
        const QString text = loadResString(id);
        m_toolBar->addButton(text, image, text, style, QLatin1String(key));
    };
    add("New", 1101, 0, StripToolBar::kStyleDropDown);
    add("Back", 1102, 3, StripToolBar::kStyleAutosize);
    add("Forward", 1103, 4, StripToolBar::kStyleAutosize);
    add("Refresh", 1104, 5, StripToolBar::kStyleAutosize);
    add("Stop", 1105, 6, StripToolBar::kStyleAutosize);
    m_toolBar->addButton(QString(), -1, QString(), StripToolBar::kStyleSeparator, QString());
    add("Sticky", 1191, 10, StripToolBar::kStyleCheck);
    m_toolBar->resizeToolBar();

    // The pointer anywhere over the strip opens the palette.
    m_toolBar->setMouseTracking(true);
    m_toolBar->installEventFilter(this);

    connect(m_toolBar, &StripToolBar::buttonClicked, this, &NavigatorPalette::onButtonClicked);
    connect(m_toolBar, &StripToolBar::dropDownPressed, this, &NavigatorPalette::onDropDownPressed);
    if (auto *sticky = qobject_cast<QToolButton *>(m_toolBar->buttonWidget(kSticky))) {
        connect(sticky, &QToolButton::toggled, this,
                [sticky](bool down) { sticky->setToolTip(loadResString(down ? 2501 : 2502)); });
    }
}

void NavigatorPalette::setSkinPicture(const QPixmap &picture)
{
    m_toolBar->setBackgroundPicture(SkinPaint::usable(picture) ? picture : QPixmap());
}

void NavigatorPalette::onButtonClicked(int position)
{
    const QString key = m_toolBar->buttonKey(position);
    static const std::pair<QLatin1String, Command> commands[] = {
        {QLatin1String("New"), Command::NewTab},
        {QLatin1String("Back"), Command::Back},
        {QLatin1String("Forward"), Command::Forward},
        {QLatin1String("Refresh"), Command::Refresh},
        {QLatin1String("Stop"), Command::Stop},
    };
    for (const auto &[button, command] : commands) {
        if (key == button) {
            Q_EMIT commandRequested(command);
            return;
        }
    }
}

void NavigatorPalette::onDropDownPressed(int position)
{
    const QString key = m_toolBar->buttonKey(position);
    if (key != QLatin1String("New"))
        return;
    // Below the toolbar, lined up with the button's left edge.
    const int left = m_toolBar->buttonRect(key).left();
    Q_EMIT newMenuRequested(m_toolBar->mapToGlobal(QPoint(left, m_toolBar->height())));
}

int NavigatorPalette::rowCount() const
{
    return m_list->topLevelItemCount();
}

int NavigatorPalette::appendRow(const QString &text)
{
    auto *added = new QTreeWidgetItem(QStringList{text, QString()});
    added->setIcon(0, StandardIcons::icon(this, QStyle::SP_FileIcon));
    m_list->addTopLevelItem(added);
    return rowCount();
}

void NavigatorPalette::removeRow(int row)
{
    delete item(row); // leaves the list as it goes
}

QTreeWidgetItem *NavigatorPalette::item(int row) const
{
    return row >= 1 && row <= rowCount() ? m_list->topLevelItem(row - 1) : nullptr;
}

QString NavigatorPalette::rowText(int row) const
{
    const QTreeWidgetItem *it = item(row);
    return it ? it->text(0) : QString();
}

void NavigatorPalette::setRowText(int row, const QString &text)
{
    if (QTreeWidgetItem *it = item(row))
        it->setText(0, text);
}

QString NavigatorPalette::rowStatus(int row) const
{
    const QTreeWidgetItem *it = item(row);
    return it ? it->text(1) : QString();
}

void NavigatorPalette::setRowStatus(int row, const QString &text)
{
    if (QTreeWidgetItem *it = item(row))
        it->setText(1, text);
}

bool NavigatorPalette::rowBold(int row) const
{
    const QTreeWidgetItem *it = item(row);
    return it && it->font(0).bold();
}

void NavigatorPalette::setRowBold(int row, bool bold)
{
    QTreeWidgetItem *it = item(row);
    if (!it)
        return;
    for (int column = 0; column < 2; ++column) {
        QFont font = it->font(column);
        font.setBold(bold);
        it->setFont(column, font);
    }
}

bool NavigatorPalette::stickyDown() const
{
    return m_toolBar->buttonChecked(kSticky);
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
    if (m_shrinking) {
        if (toolbarHeightTwips() < heightTwips()) {
            if (!stickyDown())
                setHeightTwips(heightTwips() - kStepTwips);
        } else {
            setHeightTwips(toolbarHeightTwips());
            m_foldTimer->stop();
        }
    } else {
        if (heightTwips() < kMaxHeightTwips) {
            if (!stickyDown())
                setHeightTwips(heightTwips() + kStepTwips);
        } else {
            m_foldTimer->stop();
        }
    }
}

void NavigatorPalette::startGrowing()
{
    // Every pointer move asks again: a running grow keeps its rhythm.
    if (!m_shrinking && m_foldTimer->isActive())
        return;
    m_shrinking = false;
    m_foldTimer->start();
}

void NavigatorPalette::startShrinking()
{
    m_shrinking = true;
    m_foldTimer->start();
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

void NavigatorPalette::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    startGrowing();
}

bool NavigatorPalette::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
        startGrowing();
    return QWidget::eventFilter(watched, event);
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
