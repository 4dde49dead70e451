#include "rssoptionspage.h"

#include "core/appstate.h"
#include "core/strings.h"
#include "limitedtext.h"
#include "taggedwidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <limits>

namespace {

constexpr int kMaxProxyLength = 100;
constexpr int kWeekDays = 7;
constexpr int kTwoWeeksIndex = 7; // the unread list's last item
constexpr int kTwoWeeks = 14;
constexpr int kMaxNumber = std::numeric_limits<qint16>::max();

QLineEdit *numberBox(const char *name)
{
    auto *box = new QLineEdit;
    box->setObjectName(QLatin1String(name));
    box->setValidator(new QIntValidator(0, kMaxNumber, box));
    return box;
}

// The box's number when it holds one the setting can take, else the setting as it was.
qint16 numberOr(const QLineEdit *box, qint16 old)
{
    bool ok = false;
    const int value = box->text().toInt(&ok);
    return ok && value >= 0 && value <= kMaxNumber ? qint16(value) : old;
}

QComboBox *daysList(const char *name, bool twoWeeks)
{
    auto *list = new QComboBox;
    list->setObjectName(QLatin1String(name));
    list->addItem(QStringLiteral("1 day"));
    for (int day = 2; day <= kWeekDays; ++day)
        list->addItem(QStringLiteral("%1 days").arg(day));
    if (twoWeeks)
        list->addItem(QStringLiteral("2 Weeks"));
    return list;
}

} // namespace

RssOptionsPage::RssOptionsPage(OptionsHost &host, QWidget *parent) : OptionsPage(host, parent)
{
    setObjectName(QStringLiteral("RssOptions1"));
    auto *frame = taggedWidget(new QGroupBox, "frameRss", 18500);

    auto *connection = taggedWidget(new QGroupBox, "fraConnection", 18501);
    m_proxy = new QLineEdit;
    m_proxy->setObjectName(QStringLiteral("txtProxyServer"));
    m_timeout = numberBox("txtTimeout");
    auto *connectionLayout = new QFormLayout(connection);
    connectionLayout->addRow(new QLabel(resId(18502)), m_proxy);
    connectionLayout->addRow(new QLabel(resId(18503)), m_timeout);

    auto *autoCheck = taggedWidget(new QGroupBox, "fraAutoCheck", 18506);
    m_startupCheck = taggedWidget(new QCheckBox, "chkRssStartup", 18505);
    m_interval = numberBox("txtCheckInterval");
    auto *autoCheckLayout = new QFormLayout(autoCheck);
    autoCheckLayout->addRow(m_startupCheck);
    autoCheckLayout->addRow(new QLabel(resId(18504)), m_interval);

    auto *clean = taggedWidget(new QGroupBox, "fraAutoClean", 18507);
    m_readDays = daysList("cmbRead", false);
    m_unreadDays = daysList("cmbUnread", true);
    auto *cleanLayout = new QFormLayout(clean);
    cleanLayout->addRow(new QLabel(resId(18508)));
    cleanLayout->addRow(new QLabel(resId(18509)), m_readDays);
    cleanLayout->addRow(new QLabel(resId(18510)), m_unreadDays);

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(connection);
    frameLayout->addWidget(autoCheck);
    frameLayout->addWidget(clean);
    frameLayout->addStretch(1);
    fillPage(this, frame);

    localise();
    load();
}

void RssOptionsPage::load()
{
    const SettingsModel &s = AppState::settings;
    setLimitedText(m_proxy, s.rssProxyServer, kMaxProxyLength);
    m_timeout->setText(QString::number(s.rssTimeoutSec));
    // Days a list cannot show select nothing and stay stored; more than a week of unread
    // headlines is shown, and saved, as two weeks.
    const qint32 read = s.readDeleteDays, unread = s.unreadDeleteDays;
    m_readDays->setCurrentIndex(read >= 1 && read <= kWeekDays ? read - 1 : -1);
    m_unreadDays->setCurrentIndex(unread > kWeekDays ? kTwoWeeksIndex : unread >= 1 ? unread - 1 : -1);
    m_startupCheck->setChecked(s.rssStartupCheck);
    m_interval->setText(QString::number(s.rssAutoCheckMinutes));
}

void RssOptionsPage::save()
{
    SettingsModel &s = AppState::settings;
    s.rssProxyServer = m_proxy->text();
    s.rssTimeoutSec = numberOr(m_timeout, s.rssTimeoutSec);
    s.rssStartupCheck = m_startupCheck->isChecked();
    s.rssAutoCheckMinutes = numberOr(m_interval, s.rssAutoCheckMinutes);
    if (m_readDays->currentIndex() >= 0)
        s.readDeleteDays = m_readDays->currentIndex() + 1;
    const int unread = m_unreadDays->currentIndex();
    if (unread == kTwoWeeksIndex)
        s.unreadDeleteDays = kTwoWeeks;
    else if (unread >= 0)
        s.unreadDeleteDays = unread + 1;
}
