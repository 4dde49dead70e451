#include "striptoolbar.h"

#include "core/paths.h"

#include "core/appstate.h"

#include "skinpaint.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionToolBar>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QtGlobal>

// ---------------------------------------------------------------- ImageStrip

QList<QPixmap> ImageStrip::cutStrip(const QImage &strip, int size)
{
    QList<QPixmap> pictures;
    if (strip.isNull() || size <= 0 || strip.width() < size)
        return pictures;
    QImage image = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(255, 0, 255);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0x00FFFFFF) == (key & 0x00FFFFFF))
                line[x] = 0;
        }
    }
    const int count = image.width() / size;
    for (int i = 0; i < count; ++i) {
        QImage cut = image.copy(i * size, 0, size, qMin(size, image.height()));
        if (cut.height() != size)
            cut = cut.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        pictures.append(QPixmap::fromImage(cut));
    }
    return pictures;
}

QString ImageStrip::toolbarStripFile(bool large)
{
    const QString configured =
        large ? AppState::settings.toolbarLargeBitmap : AppState::settings.toolbarSmallBitmap;
    if (!configured.isEmpty() && !QImage(configured).isNull())
        return configured;
    return Paths::assetFile(large ? QStringLiteral("nav_24h.bmp") : QStringLiteral("nav_16h.bmp"));
}

bool ImageStrip::loadStrip(const QString &file, int size)
{
    m_images = cutStrip(QImage(file), size);
    return !m_images.isEmpty();
}

QPixmap ImageStrip::itemPicture(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images[index] : QPixmap();
}

// ---------------------------------------------------------------- BandToolBar

BandToolBar::BandToolBar(QWidget *parent) : QToolBar(parent)
{
    setFloatable(false);
}

void BandToolBar::setBackgroundPicture(const QPixmap &picture)
{
    m_background = picture;
    update();
}

void BandToolBar::setIdealWidth(int width)
{
    m_idealWidth = qMax(0, width);
    updateGeometry();
}

QSize BandToolBar::sizeHint() const
{
    QSize size = QToolBar::sizeHint();
    if (m_idealWidth > 0 && orientation() == Qt::Horizontal)
        size.setWidth(qMax(m_idealWidth, minimumSizeHint().width()));
    return size;
}

void BandToolBar::paintEvent(QPaintEvent *event)
{
    if (!SkinPaint::usable(m_background)) {
        QToolBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    SkinPaint::tile(painter, this, rect(), m_background);
    QStyleOptionToolBar option;
    initStyleOption(&option);
    option.rect = style()->subElementRect(QStyle::SE_ToolBarHandle, &option, this);
    if (option.rect.isValid())
        style()->drawPrimitive(QStyle::PE_IndicatorToolBarHandle, &option, &painter, this);
}

// ---------------------------------------------------------------- StripToolButton

StripToolButton::StripToolButton(qint32 style, QWidget *parent) : QToolButton(parent), m_style(style)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    if (style == StripToolBar::kStyleCheck)
        setCheckable(true);
    // The menu only makes the style draw the arrow; presses on it are reported instead.
    if (style == StripToolBar::kStyleDropDown) {
        setMenu(new QMenu(this));
        setPopupMode(QToolButton::MenuButtonPopup);
    } else if (style == StripToolBar::kStyleWholeDropDown) {
        setMenu(new QMenu(this));
        setPopupMode(QToolButton::InstantPopup);
    }
}

void StripToolButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        bool arrow = m_style == StripToolBar::kStyleWholeDropDown;
        if (m_style == StripToolBar::kStyleDropDown) {
            QStyleOptionToolButton option;
            initStyleOption(&option);
            arrow = style()
                        ->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu,
                                         this)
                        .contains(event->position().toPoint());
        }
        if (arrow) {
            event->accept();
            setDown(true);
            emit dropDownPressed();
            setDown(false);
            return;
        }
    }
    QToolButton::mousePressEvent(event);
}

void StripToolButton::setFlat(bool flat)
{
    if (m_flat == flat)
        return;
    m_flat = flat;
    update();
}

void StripToolButton::paintEvent(QPaintEvent *event)
{
    if (!m_flat) {
        QToolButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    const bool down = option.state.testAnyFlags(QStyle::State_Sunken | QStyle::State_On);
    const bool hot = isEnabled() && (down || option.state.testFlag(QStyle::State_MouseOver));
    if (hot) {
        const QColor frame = palette().color(QPalette::Highlight);
        QColor fill = frame;
        fill.setAlpha(down ? 110 : 55);
        const QRect box = rect().adjusted(0, 0, -1, -1);
        painter.fillRect(box, fill);
        painter.setPen(frame);
        painter.drawRect(box);
        if (popupMode() == QToolButton::MenuButtonPopup) {
            const QRect arrow = style()->subControlRect(QStyle::CC_ToolButton, &option,
                                                        QStyle::SC_ToolButtonMenu, this);
            painter.drawLine(arrow.topLeft(), arrow.bottomLeft());
        }
    }
    // The style draws picture, caption and arrow only: no panel, raised or sunken.
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_Sunken | QStyle::State_On |
                      QStyle::State_Raised);
    option.state |= QStyle::State_AutoRaise;
    option.activeSubControls = QStyle::SC_None;
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}

// ---------------------------------------------------------------- StripToolBar

StripToolBar::StripToolBar(QWidget *parent) : BandToolBar(parent) {}

void StripToolBar::setDrawStyle(int style)
{
    m_drawStyle = style == kDrawOfficeXP ? kDrawOfficeXP : kDrawNormal;
    for (Button &b : m_buttons) {
        if (b.button)
            b.button->setFlat(m_drawStyle == kDrawOfficeXP);
    }
}

void StripToolBar::setImageSource(const QString &file)
{
    m_imageSource = file;
    if (m_created)
        reloadPictures();
}

void StripToolBar::setImageSize(int size)
{
    m_imageSize = qMax(1, size);
    if (m_created)
        reloadPictures();
}

void StripToolBar::createToolBar(int imageSize, bool textRight, bool textShown)
{
    m_imageSize = qMax(1, imageSize);
    m_textRight = textRight;
    m_textShown = textShown;
    m_created = true;
    reloadPictures();
}

bool StripToolBar::picturesLoaded() const
{
    return !m_images.itemPicture(0).isNull();
}

void StripToolBar::reloadPictures()
{
    m_images.loadStrip(m_imageSource, m_imageSize);
    setIconSize(QSize(m_imageSize, m_imageSize));
    for (Button &b : m_buttons) {
        applyPicture(b);
        applyLook(b);
    }
    resizeToolBar();
}

void StripToolBar::applyPicture(Button &b)
{
    if (!b.button)
        return;
    b.button->setIconSize(QSize(m_imageSize, m_imageSize));
    const QPixmap picture = m_images.itemPicture(b.image);
    b.button->setIcon(picture.isNull() ? QIcon() : QIcon(picture));
}

void StripToolBar::applyLook(Button &b)
{
    if (!b.button)
        return;
    Qt::ToolButtonStyle style = Qt::ToolButtonIconOnly;
    if (b.textShown && !b.caption.isEmpty()) {
        if (b.button->icon().isNull())
            style = Qt::ToolButtonTextOnly;
        else
            style = m_textRight ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon;
    }
    b.button->setToolButtonStyle(style);
}

void StripToolBar::addButton(const QString &toolTip, int image, const QString &caption, qint32 style,
                         const QString &key)
{
    Button b;
    b.key = key;
    b.caption = caption;
    b.toolTip = toolTip;
    b.style = style;
    b.image = image;
    b.textShown = m_textShown;
    if (style == kStyleSeparator) {
        b.action = addSeparator();
    } else {
        b.button = new StripToolButton(style, this);
        b.button->setText(caption);
        b.button->setToolTip(toolTip);
        b.button->setObjectName(key);
        b.button->setFlat(m_drawStyle == kDrawOfficeXP);
        b.action = addWidget(b.button);
        QAction *action = b.action;
        connect(b.button, &QToolButton::clicked, this,
                [this, action] { emit buttonClicked(positionOf(action)); });
        connect(b.button, &StripToolButton::dropDownPressed, this,
                [this, action] { emit dropDownPressed(positionOf(action)); });
    }
    b.action->setObjectName(key);
    m_buttons.append(b);
    applyPicture(m_buttons.last());
    applyLook(m_buttons.last());
}

void StripToolBar::addControl(QWidget *control, const QString &key)
{
    Button b;
    b.key = key;
    b.textShown = false;
    b.action = addWidget(control);
    b.action->setObjectName(key);
    m_buttons.append(b);
}

void StripToolBar::removeButton(const QString &key)
{
    const int position = buttonIndex(key);
    const Button *b = at(position);
    if (!b)
        return;
    QAction *action = b->action;
    m_buttons.removeAt(position);
    removeAction(action);
    delete action; // takes its button with it
}

int StripToolBar::positionOf(const QAction *action) const
{
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].action == action)
            return int(i);
    }
    return -1;
}

StripToolBar::Button *StripToolBar::at(int position)
{
    return position >= 0 && position < m_buttons.size() ? &m_buttons[position] : nullptr;
}

const StripToolBar::Button *StripToolBar::at(int position) const
{
    return position >= 0 && position < m_buttons.size() ? &m_buttons[position] : nullptr;
}

StripToolBar::Button *StripToolBar::find(const QString &key)
{
    return at(buttonIndex(key));
}

const StripToolBar::Button *StripToolBar::find(const QString &key) const
{
    return at(buttonIndex(key));
}

QString StripToolBar::buttonKey(int position) const
{
    const Button *b = at(position);
    return b ? b->key : QString();
}

int StripToolBar::buttonIndex(const QString &key) const
{
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].key == key)
            return int(i);
    }
    return -1;
}

QString StripToolBar::buttonCaption(const QString &key) const
{
    const Button *b = find(key);
    return b ? b->caption : QString();
}

QString StripToolBar::buttonToolTip(const QString &key) const
{
    const Button *b = find(key);
    return b ? b->toolTip : QString();
}

qint32 StripToolBar::buttonStyle(const QString &key) const
{
    const Button *b = find(key);
    return b ? b->style : 0;
}

bool StripToolBar::buttonTextVisible(const QString &key) const
{
    const Button *b = find(key);
    return b && b->textShown;
}

void StripToolBar::setButtonTextVisible(const QString &key, bool shown)
{
    if (Button *b = find(key)) {
        // Separators and control items have no caption to show.
        b->textShown = shown && (b->button != nullptr);
        applyLook(*b);
    }
}

bool StripToolBar::buttonVisible(const QString &key) const
{
    return buttonVisibleAt(buttonIndex(key));
}

void StripToolBar::setButtonVisible(const QString &key, bool visible)
{
    setButtonVisibleAt(buttonIndex(key), visible);
}

bool StripToolBar::buttonVisibleAt(int position) const
{
    const Button *b = at(position);
    return b && b->action->isVisible();
}

void StripToolBar::setButtonVisibleAt(int position, bool visible)
{
    if (Button *b = at(position))
        b->action->setVisible(visible);
}

bool StripToolBar::buttonEnabled(const QString &key) const
{
    return buttonEnabledAt(buttonIndex(key));
}

bool StripToolBar::buttonEnabledAt(int position) const
{
    const Button *b = at(position);
    return b && b->action->isEnabled();
}

void StripToolBar::setButtonEnabledAt(int position, bool enabled)
{
    if (Button *b = at(position))
        applyEnabled(*b, enabled);
}

void StripToolBar::setButtonEnabled(const QString &key, bool enabled)
{
    setButtonEnabledAt(buttonIndex(key), enabled);
}

void StripToolBar::applyEnabled(Button &b, bool enabled)
{
    b.action->setEnabled(enabled);
    if (b.button)
        b.button->setEnabled(enabled);
}

bool StripToolBar::buttonChecked(const QString &key) const
{
    const Button *b = find(key);
    return b && b->button && b->button->isChecked();
}

void StripToolBar::setButtonChecked(const QString &key, bool down)
{
    if (Button *b = find(key)) {
        if (b->button && b->button->isCheckable())
            b->button->setChecked(down);
    }
}

int StripToolBar::buttonImage(const QString &key) const
{
    const Button *b = find(key);
    return b ? b->image : -1;
}

int StripToolBar::buttonWidth(const QString &key) const
{
    return buttonRect(key).width();
}

void StripToolBar::setButtonImage(const QString &key, int image)
{
    if (Button *b = find(key)) {
        b->image = image;
        applyPicture(*b);
        applyLook(*b);
    }
}

QRect StripToolBar::buttonRect(const QString &key) const
{
    const Button *b = find(key);
    if (!b)
        return QRect();
    if (QWidget *w = widgetForAction(b->action))
        return w->geometry();
    return actionGeometry(b->action);
}

QWidget *StripToolBar::buttonWidget(const QString &key) const
{
    const Button *b = find(key);
    return b ? widgetForAction(b->action) : nullptr;
}

void StripToolBar::setTextRight(bool right)
{
    m_textRight = right;
    for (Button &b : m_buttons)
        applyLook(b);
    resizeToolBar();
}

void StripToolBar::resizeToolBar()
{
    if (layout())
        layout()->invalidate();
    updateGeometry();
}

void StripToolBar::version(int &major, int &minor, int &build)
{
    major = QT_VERSION_MAJOR;
    minor = QT_VERSION_MINOR;
    build = QT_VERSION_PATCH;
}

void StripToolBar::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    emit buttonClicked(-1);
}

// ---------------------------------------------------------------- MenuBarHost

MenuBarHost::MenuBarHost(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

void MenuBarHost::capture(QWidget *child)
{
    if (m_child)
        layout()->removeWidget(m_child);
    m_child = child;
    if (child) {
        child->setParent(this);
        static_cast<QHBoxLayout *>(layout())->addWidget(child, 0, Qt::AlignVCenter);
        child->show();
    }
}

void MenuBarHost::setBackgroundPicture(const QPixmap &picture)
{
    m_background = picture;
    update();
}

void MenuBarHost::paintEvent(QPaintEvent *)
{
    if (!SkinPaint::usable(m_background))
        return;
    QPainter painter(this);
    SkinPaint::tile(painter, this, rect(), m_background);
}
