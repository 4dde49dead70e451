#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QPushButton;
class QRadioButton;

// The question asked when Alt let a popup through: go on, or add the opener's site or domain to
// the whitelist, and optionally make the choice the automatic action from now on.
class frmWhitelist : public QDialog
{
    Q_OBJECT
public:
    // site: the opener's address the question is about.
    explicit frmWhitelist(const QString &site, QWidget *parent = nullptr);
    ~frmWhitelist() override;

    // Asks now, modally.
    static void Ask(const QString &site, QWidget *parent);
    // Asks once the current event has been handled (never inside the engine's signal). Nothing
    // is asked when parent is gone by then.
    static void Queue(const QString &site, QWidget *parent);

    QString g_sWhitelistSite;
    QRadioButton *Option1[3] = {};
    QCheckBox *chkDontAskAgain = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

    void btnOk_Click();
    void btnCancel_Click();

    void done(int result) override;

private:
    void Form_Unload();
    bool m_unloaded = false;
};
