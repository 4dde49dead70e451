#pragma once

#include "core/strings.h"

#include <QLatin1String>
#include <QVBoxLayout>

// Building blocks of the options pages.

// A control of an options page with its object name and the resource number of its caption
// for the page localiser.
template <typename T> T *taggedWidget(T *widget, const char *name, int id)
{
    widget->setObjectName(QLatin1String(name));
    widget->setProperty(kTagProperty, resId(id));
    return widget;
}

// Lays the page's frame out to fill the page.
inline void fillPage(QWidget *page, QWidget *frame)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
}
