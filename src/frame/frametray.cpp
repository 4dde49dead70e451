#include "frametray.h"

#include "core/strings.h"

#include <QApplication>
#include <QSystemTrayIcon>

FrameTray::FrameTray(QObject *parent)
    : QObject(parent), m_isAvailable([] { return QSystemTrayIcon::isSystemTrayAvailable(); })
{
}

FrameTray::~FrameTray() = default;

void FrameTray::addIcon()
{
    if (!m_icon) {
        m_icon = new QSystemTrayIcon(QApplication::windowIcon(), this);
        m_icon->setToolTip(loadResString(102));
        // Only a double click brings the frame back; other clicks do nothing.
        connect(m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::DoubleClick)
                        Q_EMIT restoreRequested();
                });
    }
    m_icon->show();
}

void FrameTray::removeIcon()
{
    if (m_icon)
        m_icon->hide();
}

bool FrameTray::hasIcon() const
{
    return m_icon && m_icon->isVisible();
}
