#include "fullscreenbar.h"

#include "core/storedcolor.h"
#include "core/strings.h"
#include "glyphs.h"

#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace {

QToolButton *barButton(QWidget *parent, const char *name, const QIcon &icon, bool checkable)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(icon);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(loadResString(1198));
    return button;
}

} // namespace

FullScreenBar::FullScreenBar(QWidget *parent)
    : QWidget(parent),
      m_normalMode(barButton(this, "cmdFullscreen", QIcon(glyphPixmap(Glyph::FullScreen, 16)), false)),
      m_bars(barButton(this, "chkFullScreenTB", style()->standardIcon(QStyle::SP_TitleBarShadeButton), true)),
      m_navigator(barButton(this, "chkNavigator", style()->standardIcon(QStyle::SP_FileDialogListView), true))
{
    setObjectName(QStringLiteral("picFullscreen"));
    setAutoFillBackground(true);
    m_bars->setToolTip(loadResString(1188));
    hide();
}

void FullScreenBar::setStatusLabel(QLabel *label)
{
    m_status = label;
    label->setParent(this);
    label->show();
    placeControls();
}

QSize FullScreenBar::sizeHint() const
{
    return {QWidget::sizeHint().width(), m_normalMode->sizeHint().height() + 2};
}

void FullScreenBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void FullScreenBar::placeControls()
{
    // The three buttons line up at the right edge, each as wide as the navigator's.
    const int w = m_navigator->sizeHint().width();
    const int margin = twipsToPixels(20);
    const int top = (height() - m_navigator->sizeHint().height()) / 2;
    m_navigator->setGeometry(width() - 3 * w - margin, top, w, m_navigator->sizeHint().height());
    m_bars->setGeometry(width() - 2 * w - margin, top, w, m_navigator->sizeHint().height());
    m_normalMode->setGeometry(width() - w - margin, top, w, m_navigator->sizeHint().height());
    if (m_status) {
        const int left = twipsToPixels(50);
        m_status->setGeometry(left, 0, qMax(0, m_navigator->x() - left - margin), height());
    }
}
