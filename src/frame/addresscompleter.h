#pragma once

#include "core/addressmatcher.h"
#include "core/historystore.h"

#include <QFutureWatcher>
#include <QObject>

class QComboBox;
class QCompleter;
class QStringListModel;

// Completion in the address field: while the user types, a list under the field offers the
// typed addresses (the combo box's list) and the visited ones (the history store) that start
// with the text. Choosing an offer with the arrow keys puts it in the field; Enter in the list
// or a click on an offer accepts it. The history is read again in the background when the field
// gets the focus and the history changed since the last reading.
class AddressCompleter : public QObject
{
    Q_OBJECT
public:
    // Without a history store only the typed addresses are offered.
    AddressCompleter(QComboBox *comboBox, const HistoryStore *history);

    QCompleter *completer() const { return m_completer; }
    // Fills the list of offers for the text (what every edit of the field does).
    void updateOffers(const QString &text);

signals:
    // The user accepted the field's text from the list of offers, with these keys held.
    void addressAccepted(Qt::KeyboardModifiers modifiers);
    // A reading of the history finished (whether or not it had changed).
    void historyRead();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What a reading of the history found: a matcher with the visited addresses when they changed.
    struct HistoryRead
    {
        HistoryStore::Revision revision;
        bool changed = false;
        AddressMatcher matcher;
    };

    QStringList typedAddresses() const;
    void readHistory();
    void onHistoryRead();

    QComboBox *m_comboBox;
    const HistoryStore *m_history;
    QCompleter *m_completer;
    QStringListModel *m_offers;
    AddressMatcher m_matcher;
    QFutureWatcher<HistoryRead> m_historyReader;
    HistoryStore::Revision m_historyRevision;
    bool m_typedChanged = true;
    // Whether the history was looked at since the field got the focus.
    bool m_historyChecked = false;
    // The field got the focus again while the history was being read.
    bool m_readAgain = false;
    // Whether the user typed since the field got the focus.
    bool m_edited = false;
};
