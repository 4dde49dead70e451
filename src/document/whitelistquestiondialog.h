#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QPushButton;
class QRadioButton;

// The question asked when Alt let a popup through: go on, or add the opener's site or domain to
// the whitelist, and optionally make the choice the automatic action from now on.
class WhitelistQuestionDialog : public QDialog
{
    Q_OBJECT
public:
    // site: the opener's address the question is about.
    explicit WhitelistQuestionDialog(const QString &site, QWidget *parent = nullptr);

    // Asks now, modally.
    static void ask(const QString &site, QWidget *parent);
    // Asks once the current event has been handled (never inside the engine's signal). Nothing
    // is asked when parent is gone by then.
    static void queue(const QString &site, QWidget *parent);

private:
    void onOkClicked();
    void onCancelClicked();

    QString m_site;
    QRadioButton *m_choices[3] = {};
    QCheckBox *m_dontAskAgain = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
