#pragma once

#include "core/addressmatcher.h"
#include "core/historystore.h"

#include <QFutureWatcher>
#include <QObject>

class QComboBox;
class QKeyEvent;
class QListView;
class QStringListModel;

// Completion in the address field: while the user types, a list under the field offers the
// typed addresses (the combo box's list), the visited ones (the history store) and, for a typed
// path, the local files and folders that start with the text. The offers never change what the
// user typed: the field changes only when the user picks an offer (the arrow keys put it in the
// field, Up past the first offer brings the typed text back; a click or Enter on an offer accepts
// it). When nothing matches any more, the list closes and the text stays as typed.
// The list is a window that never takes the keyboard focus, so every key goes on to the field.
// The history is read again in the background when the field gets the focus and the history
// changed since the last reading.
class AddressCompleter : public QObject
{
    Q_OBJECT
public:
    // Without a history store only the typed addresses and local paths are offered.
    AddressCompleter(QComboBox *comboBox, const HistoryStore *history);
    ~AddressCompleter() override;

    // Fills the list of offers for the text and shows it, or closes it when nothing matches
    // (what every edit of the field does).
    void updateOffers(const QString &text);
    void hideOffers();

signals:
    // The user accepted an offer, now in the field, with these keys held.
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
    void showOffers();
    // Moves the highlight by step (wrapping through "no offer", which shows the typed text).
    void moveHighlight(int step);
    void acceptRow(int row, Qt::KeyboardModifiers modifiers);
    // Keys for the field while the offers show; true when the key was used here.
    bool handleKey(QKeyEvent *key);

    QComboBox *m_comboBox;
    const HistoryStore *m_history;
    QListView *m_popup;
    QStringListModel *m_offers;
    AddressMatcher m_matcher;
    QFutureWatcher<HistoryRead> m_historyReader;
    HistoryStore::Revision m_historyRevision;
    // What the user typed, shown again when the highlight leaves the offers.
    QString m_typedText;
    bool m_typedChanged = true;
    // Whether the history was looked at since the field got the focus.
    bool m_historyChecked = false;
    // The field got the focus again while the history was being read.
    bool m_readAgain = false;
    // Whether the user typed since the field got the focus.
    bool m_edited = false;
};
