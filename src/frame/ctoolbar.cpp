#include "ctoolbar.h"

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
#include <QtGlobal>

// ---------------------------------------------------------------- vbalImageList

QList<QPixmap> vbalImageList::CutStrip(const QImage &strip, int size)
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

bool vbalImageList::LoadStrip(const QString &file, int size)
{
    m_size = size;
    m_images = CutStrip(QImage(file), size);
    return !m_images.isEmpty();
}

QPixmap vbalImageList::ItemPicture(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images[index] : QPixmap();
}

// ---------------------------------------------------------------- cBandBar

cBandBar::cBandBar(QWidget *parent) : QToolBar(parent)
{
    setFloatable(false);
}

void cBandBar::setBackgroundPicture(const QPixmap &picture)
{
    m_background = picture;
    update();
}

void cBandBar::setIdealWidth(int width)
{
    m_idealWidth = qMax(0, width);
    updateGeometry();
}

QSize cBandBar::sizeHint() const
{
    QSize size = QToolBar::sizeHint();
    if (m_idealWidth > 0 && orientation() == Qt::Horizontal)
        size.setWidth(qMax(m_idealWidth, minimumSizeHint().width()));
    return size;
}

void cBandBar::paintEvent(QPaintEvent *event)
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

// ---------------------------------------------------------------- cToolbarButton

cToolbarButton::cToolbarButton(qint32 style, QWidget *parent) : QToolButton(parent), m_style(style)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    if (style == cToolbar::kStyleCheck)
        setCheckable(true);
    // The menu only makes the style draw the arrow; presses on it are reported instead.
    if (style == cToolbar::kStyleDropDown) {
        setMenu(new QMenu(this));
        setPopupMode(QToolButton::MenuButtonPopup);
    } else if (style == cToolbar::kStyleWholeDropDown) {
        setMenu(new QMenu(this));
        setPopupMode(QToolButton::InstantPopup);
    }
}

void cToolbarButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        bool arrow = m_style == cToolbar::kStyleWholeDropDown;
        if (m_style == cToolbar::kStyleDropDown) {
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

// ---------------------------------------------------------------- cToolbar

cToolbar::cToolbar(QWidget *parent) : cBandBar(parent) {}

void cToolbar::setDrawStyle(int style)
{
    // The flat drawing of the old style has no counterpart in the toolkit's styles: the value
    // is kept and read back.
    m_drawStyle = style == kDrawOfficeXP ? kDrawOfficeXP : kDrawNormal;
}

void cToolbar::setImageSource(const QString &file)
{
    m_imageSource = file;
    if (m_created)
        reloadPictures();
}

void cToolbar::setImageSize(int size)
{
    m_imageSize = qMax(1, size);
    if (m_created)
        reloadPictures();
}

void cToolbar::CreateToolbar(int imageSize, bool textRight, bool textShown)
{
    m_imageSize = qMax(1, imageSize);
    m_textRight = textRight;
    m_textShown = textShown;
    m_created = true;
    reloadPictures();
}

void cToolbar::reloadPictures()
{
    m_images.LoadStrip(m_imageSource, m_imageSize);
    setIconSize(QSize(m_imageSize, m_imageSize));
    for (Button &b : m_buttons) {
        applyPicture(b);
        applyLook(b);
    }
    ResizeToolbar();
}

void cToolbar::applyPicture(Button &b)
{
    if (!b.button)
        return;
    b.button->setIconSize(QSize(m_imageSize, m_imageSize));
    const QPixmap picture = m_images.ItemPicture(b.image);
    b.button->setIcon(picture.isNull() ? QIcon() : QIcon(picture));
}

void cToolbar::applyLook(Button &b)
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

void cToolbar::AddButton(const QString &toolTip, int image, const QString &caption, qint32 style,
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
        b.button = new cToolbarButton(style, this);
        b.button->setText(caption);
        b.button->setToolTip(toolTip);
        b.button->setObjectName(key);
        b.action = addWidget(b.button);
        QAction *action = b.action;
        connect(b.button, &QToolButton::clicked, this,
                [this, action] { emit ButtonClick(positionOf(action)); });
        connect(b.button, &cToolbarButton::dropDownPressed, this,
                [this, action] { emit DropDownPress(positionOf(action)); });
    }
    b.action->setObjectName(key);
    m_buttons.append(b);
    applyPicture(m_buttons.last());
    applyLook(m_buttons.last());
}

void cToolbar::AddControl(QWidget *control, const QString &key)
{
    Button b;
    b.key = key;
    b.style = 0;
    b.control = control;
    b.textShown = false;
    b.action = addWidget(control);
    b.action->setObjectName(key);
    m_buttons.append(b);
}

void cToolbar::RemoveButton(const QString &key)
{
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].key == key) {
            QAction *action = m_buttons[i].action;
            m_buttons.removeAt(i);
            removeAction(action);
            delete action; // takes its button with it
            return;
        }
    }
}

int cToolbar::positionOf(const QAction *action) const
{
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].action == action)
            return int(i);
    }
    return -1;
}

cToolbar::Button *cToolbar::find(const QString &key)
{
    for (Button &b : m_buttons) {
        if (b.key == key)
            return &b;
    }
    return nullptr;
}

const cToolbar::Button *cToolbar::find(const QString &key) const
{
    for (const Button &b : m_buttons) {
        if (b.key == key)
            return &b;
    }
    return nullptr;
}

QString cToolbar::ButtonKey(int position) const
{
    return position >= 0 && position < m_buttons.size() ? m_buttons[position].key : QString();
}

int cToolbar::ButtonIndex(const QString &key) const
{
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].key == key)
            return int(i);
    }
    return -1;
}

QString cToolbar::ButtonCaption(const QString &key) const
{
    const Button *b = find(key);
    return b ? b->caption : QString();
}

QString cToolbar::ButtonToolTip(const QString &key) const
{
    const Button *b = find(key);
    return b ? b->toolTip : QString();
}

qint32 cToolbar::ButtonStyle(const QString &key) const
{
    const Button *b = find(key);
    return b ? b->style : 0;
}

bool cToolbar::ButtonTextVisible(const QString &key) const
{
    const Button *b = find(key);
    return b && b->textShown;
}

void cToolbar::setButtonTextVisible(const QString &key, bool shown)
{
    if (Button *b = find(key)) {
        // Separators and control items have no caption to show.
        b->textShown = shown && (b->button != nullptr);
        applyLook(*b);
    }
}

bool cToolbar::ButtonVisible(const QString &key) const
{
    const Button *b = find(key);
    return b && b->action->isVisible();
}

void cToolbar::setButtonVisible(const QString &key, bool visible)
{
    if (Button *b = find(key))
        b->action->setVisible(visible);
}

bool cToolbar::ButtonVisibleAt(int position) const
{
    return position >= 0 && position < m_buttons.size() && m_buttons[position].action->isVisible();
}

void cToolbar::setButtonVisibleAt(int position, bool visible)
{
    if (position >= 0 && position < m_buttons.size())
        m_buttons[position].action->setVisible(visible);
}

bool cToolbar::ButtonEnabled(const QString &key) const
{
    const Button *b = find(key);
    return b && b->action->isEnabled();
}

void cToolbar::setButtonEnabled(const QString &key, bool enabled)
{
    if (Button *b = find(key)) {
        b->action->setEnabled(enabled);
        if (b->button)
            b->button->setEnabled(enabled);
    }
}

bool cToolbar::ButtonEnabledAt(int position) const
{
    return position >= 0 && position < m_buttons.size() && m_buttons[position].action->isEnabled();
}

void cToolbar::setButtonEnabledAt(int position, bool enabled)
{
    if (position >= 0 && position < m_buttons.size())
        setButtonEnabled(m_buttons[position].key, enabled);
}

bool cToolbar::ButtonChecked(const QString &key) const
{
    const Button *b = find(key);
    return b && b->button && b->button->isChecked();
}

void cToolbar::setButtonChecked(const QString &key, bool down)
{
    if (Button *b = find(key)) {
        if (b->button && b->button->isCheckable())
            b->button->setChecked(down);
    }
}

int cToolbar::ButtonImage(const QString &key) const
{
    const Button *b = find(key);
    return b ? b->image : -1;
}

void cToolbar::setButtonImage(const QString &key, int image)
{
    if (Button *b = find(key)) {
        b->image = image;
        applyPicture(*b);
        applyLook(*b);
    }
}

int cToolbar::ButtonWidth(const QString &key) const
{
    const Button *b = find(key);
    if (!b)
        return 0;
    if (QWidget *w = widgetForAction(b->action))
        return w->width();
    return actionGeometry(b->action).width();
}

QRect cToolbar::ButtonRect(const QString &key) const
{
    const Button *b = find(key);
    if (!b)
        return QRect();
    if (QWidget *w = widgetForAction(b->action))
        return w->geometry();
    return actionGeometry(b->action);
}

QWidget *cToolbar::ButtonWidget(const QString &key) const
{
    const Button *b = find(key);
    return b ? widgetForAction(b->action) : nullptr;
}

void cToolbar::setTextRight(bool right)
{
    m_textRight = right;
    for (Button &b : m_buttons)
        applyLook(b);
    ResizeToolbar();
}

void cToolbar::ResizeToolbar()
{
    if (layout())
        layout()->invalidate();
    updateGeometry();
}

void cToolbar::GetVersion(int &major, int &minor, int &build)
{
    major = QT_VERSION_MAJOR;
    minor = QT_VERSION_MINOR;
    build = QT_VERSION_PATCH;
}

void cToolbar::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    emit ButtonClick(-1);
}

// ---------------------------------------------------------------- cToolbarHost

cToolbarHost::cToolbarHost(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

void cToolbarHost::Capture(QWidget *child)
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

void cToolbarHost::setBackgroundPicture(const QPixmap &picture)
{
    m_background = picture;
    update();
}

void cToolbarHost::paintEvent(QPaintEvent *)
{
    if (!SkinPaint::usable(m_background))
        return;
    QPainter painter(this);
    SkinPaint::tile(painter, this, rect(), m_background);
}
