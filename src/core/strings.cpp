#include "strings.h"

#include "storedvalue.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

QString unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        if (next == u'n')
            out += u'\n';
        else if (next == u't')
            out += u'\t';
        else
            out += next;
    }
    return out;
}

// Strict conversion: the whole text must be a 16-bit number.
std::optional<int> strictId(const QString &text)
{
    if (const auto v = StoredValue::toInteger(text))
        return int(*v);
    return std::nullopt;
}

// Lenient conversion: the text's leading number, rounded to a 16-bit integer; 0 when none.
int lenientId(const QString &text)
{
    const double v = StoredValue::roundHalfEven(StoredValue::leadingValue(text));
    if (v < -32768 || v > 32767)
        return 0;
    return int(v);
}

// Replaces text by the string of the number it holds; leaves it when there is no such string.
template <typename Setter> void applyStrict(const QString &current, Setter set)
{
    const auto id = strictId(current);
    if (id && StringTable::instance().contains(*id))
        set(loadResString(*id));
}

template <typename Setter> void applyLenient(const QString &current, Setter set)
{
    const int id = lenientId(current);
    if (id > 0 && StringTable::instance().contains(id))
        set(loadResString(id));
}

void localiseAction(QAction *action)
{
    if (action->isSeparator() || action->text().isEmpty() || action->text() == QLatin1String("-"))
        return;
    // Read the tool tip before the text changes, as an unset tool tip follows the text.
    const QString toolTip = action->toolTip();
    const QString text = action->text();
    applyStrict(text, [&](const QString &s) { action->setText(s); });
    if (toolTip != text)
        applyStrict(toolTip, [&](const QString &s) { action->setToolTip(s); });
}

void localiseTabBar(QTabBar *bar)
{
    for (int i = 0; i < bar->count(); ++i) {
        applyStrict(bar->tabData(i).toString(), [&](const QString &s) { bar->setTabText(i, s); });
        applyStrict(bar->tabToolTip(i), [&](const QString &s) { bar->setTabToolTip(i, s); });
    }
}

void localiseHeaders(QAbstractItemView *view)
{
    QAbstractItemModel *model = view->model();
    if (!model)
        return;
    for (int c = 0; c < model->columnCount(); ++c) {
        const QVariant tag = model->headerData(c, Qt::Horizontal, kHeaderTagRole);
        if (!tag.isValid())
            continue;
        applyStrict(tag.toString(), [&](const QString &s) {
            model->setHeaderData(c, Qt::Horizontal, s, Qt::DisplayRole);
        });
    }
}

void setCaption(QWidget *widget, const QString &text)
{
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(text);
    else if (auto *group = qobject_cast<QGroupBox *>(widget))
        group->setTitle(text);
    else if (auto *menu = qobject_cast<QMenu *>(widget))
        menu->setTitle(text);
    else
        widget->setWindowTitle(text);
}

void localiseOther(QWidget *widget)
{
    const QVariant tag = widget->property(kTagProperty);
    if (tag.isValid())
        applyLenient(tag.toString(), [&](const QString &s) { setCaption(widget, s); });
    const QString tip = widget->toolTip();
    if (tip.trimmed() == QLatin1String("0"))
        widget->setToolTip(QString()); // "0" is design data for "no tool tip"
    else if (!tip.isEmpty())
        applyLenient(tip, [&](const QString &s) { widget->setToolTip(s); });
}

} // namespace

const StringTable &StringTable::instance()
{
    static const StringTable table = [] {
        QFile file(QStringLiteral(":/quarvel/strings.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return StringTable();
        return fromText(file.readAll());
    }();
    return table;
}

StringTable StringTable::fromText(const QByteArray &text, QList<int> *errorLines,
                                  QList<int> *duplicateIds)
{
    StringTable table;
    const QString content = QString::fromUtf8(text);
    int lineNo = 0;
    for (QStringView line : QStringView(content).split(u'\n')) {
        ++lineNo;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        bool ok = false;
        const int id = tab > 0 ? line.left(tab).toInt(&ok) : 0;
        if (!ok || id <= 0) {
            if (errorLines)
                errorLines->append(lineNo);
            continue;
        }
        if (table.m_strings.contains(id) && duplicateIds)
            duplicateIds->append(id);
        table.m_strings.insert(id, unescape(line.mid(tab + 1)));
    }
    return table;
}

QList<int> StringTable::ids() const
{
    QList<int> list = m_strings.keys();
    std::sort(list.begin(), list.end());
    return list;
}

QString loadResString(int id)
{
    return StringTable::instance().text(id);
}

void loadResStrings(QWidget *form)
{
    if (!form)
        return;
    const QVariant formTag = form->property(kTagProperty);
    if (formTag.isValid() && formTag.toString().trimmed() != QLatin1String("-1"))
        applyStrict(formTag.toString(), [&](const QString &s) { form->setWindowTitle(s); });
    loadResStringsControls(form);
}

void loadResStringsControls(QWidget *container)
{
    if (!container)
        return;
    for (QAction *action : container->findChildren<QAction *>())
        localiseAction(action);
    for (QWidget *widget : container->findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            applyStrict(label->text(), [&](const QString &s) { label->setText(s); });
        } else if (auto *bar = qobject_cast<QTabBar *>(widget)) {
            localiseTabBar(bar);
        } else if (auto *view = qobject_cast<QAbstractItemView *>(widget)) {
            localiseHeaders(view);
            localiseOther(view);
        } else if (qobject_cast<QMenu *>(widget)) {
            // Menus carry their caption number in their title.
            auto *menu = static_cast<QMenu *>(widget);
            applyStrict(menu->title(), [&](const QString &s) { menu->setTitle(s); });
        } else if (qobject_cast<QToolBar *>(widget)) {
            // Its buttons are actions, localised above.
        } else {
            localiseOther(widget);
        }
    }
}

QString withoutMnemonic(const QString &caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            // "&&" is a literal '&'; a single '&' marks the next character as the key, and
            // one at the very end marks nothing and shows as itself.
            if (i + 1 == caption.size())
                text += u'&';
            else if (caption[i + 1] == u'&')
                text += caption[++i];
            continue;
        }
        text += caption[i];
    }
    return text;
}

QString captionWithoutAccessKey(const QString &caption)
{
    return withoutMnemonic(caption).replace(u'&', QLatin1String("&&"));
}

QString stripNulls(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}
