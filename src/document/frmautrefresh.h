#pragma once

#include <QDialog>
#include <QPointer>

class AutoRefresh;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The automatic-refresh interval of the active document, typed in seconds (0 switches it off).
class frmAutRefresh : public QDialog
{
    Q_OBJECT
public:
    // target: the active document's automatic refresh, or nullptr when no document is active.
    explicit frmAutRefresh(AutoRefresh *target, QWidget *parent = nullptr);
    ~frmAutRefresh() override;

    // Shows the dialog modally for the target.
    static void Ask(AutoRefresh *target, QWidget *parent);

    static constexpr int kMaxInterval = 32767;

    QLineEdit *txtInterval = nullptr;
    QScrollBar *VScroll1 = nullptr; // its upper arrow raises the value
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    void txtInterval_Change();
    void VScroll1_Change();
    void cmdOK_Click();
    void cmdCancel_Click();

    void done(int result) override;

private:
    void Form_Unload();

    QPointer<AutoRefresh> m_target;
    bool m_unloaded = false;
};
