#pragma once

#include <QDialog>

class OptionsHost;
class QLineEdit;
class QPushButton;

// Asks for the name and address of one link of the sites toolbar. Accepted means OK; Cancel and
// the close box reject. An address typed without a scheme is completed as the address bar
// completes it.
class CustomLinkDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kNameLimit = 20;

    explicit CustomLinkDialog(OptionsHost &host, QWidget *parent = nullptr);

    QString name() const;
    void setName(const QString &name);
    // The address as typed, completed with a scheme when it has none.
    QString address() const;
    void setAddress(const QString &address);

    // What the dialog returns for the typed address text.
    static QString completedAddress(const QString &typed);

private:
    void useCurrent();

    OptionsHost &m_host;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_address = nullptr;
    QPushButton *m_current = nullptr;
};
