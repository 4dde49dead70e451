#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The small password prompt. Unlock mode guards the browser lock: OK checks the text against the
// stored digest, and a wrong password keeps the dialog open with a message. Website-group mode
// only asks: the caller reads the text after OK.
class PasswordDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Unlock, WebsiteGroup };

    // storedDigest is the lock's digest (unlock mode only).
    explicit PasswordDialog(Mode mode, const QString &storedDigest = QString(),
                            QWidget *parent = nullptr);

    // The mode the dialog was made in (unlock, or website group).
    Mode mode() const { return m_mode; }
    // True until OK was accepted.
    bool isCancelled() const { return m_cancelled; }
    QString password() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onOk();

    Mode m_mode;
    QString m_storedDigest;
    bool m_cancelled = true;
    QLineEdit *m_password;
    QPushButton *m_ok;
};
