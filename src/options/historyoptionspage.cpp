#include "historyoptionspage.h"

#include "core/appstate.h"
#include "core/strings.h"
#include "optionshost.h"
#include "taggedwidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Trace
{
    const char *atExitBox;
    const char *nowBox;
    int caption;
    bool SettingsModel::*setting;
    HistoryCleaner::Kind kind;
};

const Trace kTraceTable[HistoryOptionsPage::kTraces] = {
    {"chkAutoAddress", "chkManAddress", 8018, &SettingsModel::cleanAddress,
     HistoryCleaner::AddressList},
    {"chkAutoSearch", "chkManSearch", 8019, &SettingsModel::cleanSearch,
     HistoryCleaner::SearchList},
    {"chkAutoCookies", "chkManCookies", 8020, &SettingsModel::cleanCookies,
     HistoryCleaner::Cookies},
    {"chkAutoHistory", "chkManHistory", 8021, &SettingsModel::cleanHistory,
     HistoryCleaner::InternetHistory},
    {"chkAutoTemp", "chkManTemp", 8022, &SettingsModel::cleanTemp,
     HistoryCleaner::TemporaryFiles},
};

HistoryOptionsPage::Confirmation questionBox(QWidget *parent)
{
    return [owner = QPointer<QWidget>(parent)](const QString &text) {
        return QMessageBox::question(owner, QStringLiteral("Confirm"), text,
                                     QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::Yes;
    };
}

QGroupBox *traceGroup(const char *name, int caption, int intro,
                      std::array<QCheckBox *, HistoryOptionsPage::kTraces> &boxes, bool atExit)
{
    auto *group = taggedWidget(new QGroupBox, name, caption);
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(new QLabel(resId(intro)));
    for (int i = 0; i < HistoryOptionsPage::kTraces; ++i) {
        const Trace &trace = kTraceTable[i];
        boxes[i] = taggedWidget(new QCheckBox, atExit ? trace.atExitBox : trace.nowBox, trace.caption);
        layout->addWidget(boxes[i]);
    }
    return group;
}

} // namespace

HistoryOptionsPage::HistoryOptionsPage(OptionsHost &host, QWidget *parent)
    : OptionsPage(host, parent), m_message(optionsMessageBox(this)), m_confirm(questionBox(this))
{
    setObjectName(QStringLiteral("HistoryOptions1"));
    auto *frame = taggedWidget(new QGroupBox, "frameHistory", 8015);

    QGroupBox *atExitGroup = traceGroup("fraAutoClean", 8016, 8017, m_atExit, true);
    QGroupBox *nowGroup = traceGroup("fraManualClean", 8023, 8024, m_now, false);
    m_cleanAll = taggedWidget(new QPushButton, "btnCleanAll", 8025);
    m_cleanSelected = taggedWidget(new QPushButton, "btnCleanSel", 8026);
    m_cleanSelected->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cleanAll);
    buttons->addWidget(m_cleanSelected);
    buttons->addStretch(1);
    static_cast<QVBoxLayout *>(nowGroup->layout())->addLayout(buttons);

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(atExitGroup);
    frameLayout->addWidget(nowGroup);
    frameLayout->addStretch(1);
    fillPage(this, frame);

    localise();
    load();

    for (QCheckBox *box : m_now)
        connect(box, &QCheckBox::toggled, this, &HistoryOptionsPage::updateCleanSelected);
    connect(m_cleanAll, &QPushButton::clicked, this, &HistoryOptionsPage::cleanAll);
    connect(m_cleanSelected, &QPushButton::clicked, this, &HistoryOptionsPage::cleanSelected);
}

void HistoryOptionsPage::load()
{
    const SettingsModel &s = AppState::settings;
    for (int i = 0; i < kTraces; ++i)
        m_atExit[i]->setChecked(s.*kTraceTable[i].setting);
}

void HistoryOptionsPage::save()
{
    SettingsModel &s = AppState::settings;
    for (int i = 0; i < kTraces; ++i)
        s.*kTraceTable[i].setting = m_atExit[i]->isChecked();
}

void HistoryOptionsPage::updateCleanSelected()
{
    if (m_busy)
        return;
    bool any = false;
    for (const QCheckBox *box : m_now)
        any = any || box->isChecked();
    m_cleanSelected->setEnabled(any);
}

bool HistoryOptionsPage::cleanAll()
{
    if (m_busy || !m_confirm(loadResString(8512)))
        return false;
    return clean(HistoryCleaner::AllKinds, true);
}

bool HistoryOptionsPage::cleanSelected()
{
    if (m_busy)
        return false;
    HistoryCleaner::Kinds chosen;
    for (int i = 0; i < kTraces; ++i)
        chosen.setFlag(kTraceTable[i].kind, m_now[i]->isChecked());
    return clean(chosen, bool(chosen & HistoryCleaner::TreeKinds));
}

bool HistoryOptionsPage::clean(HistoryCleaner::Kinds kinds, bool reloadHistory)
{
    // A second click while events are handled during the cleaning must not start another.
    m_busy = true;
    m_cleanAll->setEnabled(false);
    m_cleanSelected->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QPointer<HistoryOptionsPage> self(this);
    host().cleanHistory(kinds, [self, reloadHistory](bool ok) {
        QApplication::restoreOverrideCursor();
        if (self)
            self->finishCleaning(ok, reloadHistory);
    });
    return true;
}

void HistoryOptionsPage::finishCleaning(bool ok, bool reloadHistory)
{
    if (reloadHistory)
        host().reloadHistory(nullptr);
    m_busy = false;
    m_cleanAll->setEnabled(true);
    updateCleanSelected();
    m_message(ok ? QMessageBox::Information : QMessageBox::Warning, loadResString(ok ? 15000 : 15001));
    Q_EMIT cleaned(ok);
}
