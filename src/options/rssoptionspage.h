#pragma once

#include "optionspage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// Page 11 of the options: the proxy and time-out of feed downloads, the checks for new
// headlines at start-up and every so many minutes, and after how many days old headlines go.
class RssOptionsPage : public OptionsPage
{
    Q_OBJECT
public:
    explicit RssOptionsPage(OptionsHost &host, QWidget *parent = nullptr);

    void save() override;

private:
    void load();

    QLineEdit *m_proxy;
    QLineEdit *m_timeout;
    QCheckBox *m_startupCheck;
    QLineEdit *m_interval;
    QComboBox *m_readDays;
    QComboBox *m_unreadDays;
};
