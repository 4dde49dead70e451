#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class frmMain;

// The quick search box: a web or groups search through Google, with a remembered history of
// queries. One instance for the run; hidden after a search, written to the settings at exit.
class frmQSearch : public QDialog
{
    Q_OBJECT
public:
    explicit frmQSearch(frmMain *frame);

    QComboBox *vbalCboEx1 = nullptr; // query and its history, newest first
    QComboBox *vbalCboEx2 = nullptr; // "Web" or "Groups"
    QPushButton *Command1 = nullptr;

    // Runs the search of the query box.
    void Search();
    // Writes position, method and history to the settings store.
    void Form_Unload();

    // Most queries remembered.
    static constexpr int kMaxHistory = 50;
    // The history after a search for text: no empty entries, a repeat moves to the top.
    static QStringList AddToHistory(const QStringList &history, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void backToFrame();
    frmMain *m_frame;
};
