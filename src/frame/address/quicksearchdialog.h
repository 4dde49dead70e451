#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

// The quick search box: a web or groups search through Google, with a remembered history of
// queries. One instance for the run; hidden after a search, written to the settings at exit.
class QuickSearchDialog : public QDialog
{
    Q_OBJECT
public:
    explicit QuickSearchDialog(QWidget *parent = nullptr);

    // Forgets the remembered queries and empties the query box.
    void clearHistory();
    // Writes position, method and history to the settings store.
    void unload();

    // Most queries remembered (read back and kept); beyond it the oldest go.
    static constexpr int kMaxHistory = 50;
    // The history after a search for text: the query on top as typed, repeats and an empty
    // query kept, at most kMaxHistory entries.
    static QStringList addToHistory(const QStringList &history, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Every opening starts in the query box, its text selected: a query can be typed at once.
    void showEvent(QShowEvent *event) override;

signals:
    // A search ran: the address of its results is to open in a new tab.
    void searchRequested(const QString &address);

private:
    // Runs the search of the query box.
    void search();
    void backToFrame();

    QComboBox *m_queryBox = nullptr; // query and its history, newest first
    QComboBox *m_scopeBox = nullptr; // "Web" or "Groups"
    QPushButton *m_searchButton = nullptr;
};
