#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;
class WebBrowser;

// The find bar of a document window, shown above its page: a text field, next and previous,
// match case and the engine's count of the matches ("2 of 5"). Typing searches as the text
// changes; Enter finds the next match, Shift+Enter the previous one, both wrapping at the
// page's ends; Esc closes the bar and gives the page the keyboard focus back.
class FindBar : public QWidget
{
    Q_OBJECT
public:
    explicit FindBar(WebBrowser *browser, QWidget *parent = nullptr);

    // Shows the bar with the keyboard focus in the text field and its text selected.
    void open();
    // Hides the bar, ends the search and focuses the page.
    void dismiss();

    void findNext();
    void findPrevious();

    QString text() const;

signals:
    // A search ended and the bar shows its outcome (both 0 when nothing matched).
    void resultShown(int activeMatch, int matches);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // restart begins a new search instead of going on from the match selected now.
    void find(bool backward, bool restart = false);
    void onFindFinished(int activeMatch, int matches);

    WebBrowser *m_browser;
    QLineEdit *m_text;
    QToolButton *m_next;
    QToolButton *m_previous;
    QCheckBox *m_matchCase;
    QLabel *m_result;
    // Set while a search starts: what the engine reports then is the end of the search this one
    // replaces, not a result.
    bool m_starting = false;
};
