#pragma once

#include <QHash>
#include <QString>

class QWidget;

// The resource strings: every text Quarvel shows, addressed by number. The table is compiled
// into the program and loaded once, on first use.
class StringTable
{
public:
    static const StringTable &instance();

    // Parses the table's text ("id<TAB>text" lines, '#' comments, \n \t \\ escapes). Lines
    // that do not parse are collected in errors (line numbers, 1-based).
    static StringTable fromText(const QByteArray &text, QList<int> *errorLines = nullptr,
                                QList<int> *duplicateIds = nullptr);

    bool contains(int id) const { return m_strings.contains(id); }
    QString text(int id) const { return m_strings.value(id); }
    QList<int> ids() const;
    // The number of strings in the table.
    qsizetype size() const { return m_strings.size(); }

private:
    QHash<int, QString> m_strings;
};

// The text of string id, or an empty text when the table has no such string.
QString loadResString(int id);

// A resource number as design data carries it (a form's tag, a label's caption number).
inline QString resId(int id)
{
    return QString::number(id);
}

// Dynamic properties that carry resource numbers on widgets and actions, where Qt has no
// field of its own for them.
inline constexpr char kTagProperty[] = "tag";
// A control with its object name and the resource number of its caption ("tag"), for the
// form's localiser.
template <typename T> T *taggedWidget(T *widget, const char *name, int id)
{
    widget->setObjectName(QLatin1String(name));
    widget->setProperty(kTagProperty, resId(id));
    return widget;
}
// Model role of a header section's resource number (list-view column headers).
inline constexpr int kHeaderTagRole = Qt::UserRole + 0x5147;

// Localises a form in place: its caption from its "tag", labels from their own text, menu and
// toolbar actions from their text and tool tip, tab bars from each tab's data and tool tip,
// item-view column headers from their kHeaderTagRole data, and every other widget from its
// "tag" (caption) and tool tip. A number without a string leaves the text as it was.
void loadResStrings(QWidget *form);
// The same for the controls inside container only, leaving its own caption alone (the
// options pages, which have none).
void loadResStringsControls(QWidget *container);

// A caption as it reads without its access key: "&History" reads "History", a doubled "&&"
// reads as one '&'.
QString withoutMnemonic(const QString &caption);
// The caption for a control that would take an Alt letter from its '&' (a tab, a button): it
// shows as withoutMnemonic reads it and takes no letter, so the menu bar keeps every one.
QString captionWithoutAccessKey(const QString &caption);

// The text up to its first NUL character, or the whole text when it has none.
QString stripNulls(const QString &text);
