#include "standardicons.h"

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QWidget>

namespace {

// Owned by the application, so the pictures go before it does.
class IconCache : public QObject
{
public:
    using QObject::QObject;
    QHash<QPair<const QStyle *, int>, QIcon> icons;
    QSet<const QStyle *> styles; // those whose end is watched
};

IconCache *cache()
{
    static QPointer<IconCache> instance;
    if (!instance)
        instance = new IconCache(QCoreApplication::instance());
    return instance;
}

} // namespace

QIcon StandardIcons::icon(const QWidget *widget, QStyle::StandardPixmap picture)
{
    QStyle *style = widget ? widget->style() : QApplication::style();
    IconCache *icons = cache();
    const QPair<const QStyle *, int> key{style, int(picture)};
    auto found = icons->icons.constFind(key);
    if (found == icons->icons.constEnd()) {
        // A style that goes takes its pictures with it.
        if (!icons->styles.contains(style)) {
            icons->styles.insert(style);
            QObject::connect(style, &QObject::destroyed, icons, [icons, style] {
                icons->styles.remove(style);
                icons->icons.removeIf([style](const auto &entry) { return entry.key().first == style; });
            });
        }
        found = icons->icons.insert(key, style->standardIcon(picture, nullptr, widget));
    }
    return *found;
}
