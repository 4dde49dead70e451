#pragma once

#include <QDialog>
#include <QPointer>

class AutoRefresh;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The automatic-refresh interval of the active document, typed in seconds (0 switches it off).
class AutoRefreshDialog : public QDialog
{
    Q_OBJECT
public:
    // target: the active document's automatic refresh, or nullptr when no document is active.
    explicit AutoRefreshDialog(AutoRefresh *target, QWidget *parent = nullptr);

    // Shows the dialog modally for the target.
    static void ask(AutoRefresh *target, QWidget *parent);

    static constexpr int kMaxInterval = 32767;

private:
    void onIntervalEdited();
    void onIntervalScrolled();
    void onOkClicked();
    void onCancelClicked();

    QLineEdit *m_intervalEdit = nullptr;
    QScrollBar *m_intervalScroll = nullptr; // its upper arrow raises the value
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPointer<AutoRefresh> m_target;
};
