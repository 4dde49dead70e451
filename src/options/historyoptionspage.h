#pragma once

#include "core/historycleanerkinds.h"
#include "optionsmessage.h"
#include "optionspage.h"

#include <array>
#include <functional>

class QCheckBox;
class QPushButton;

// Page 2 of the options: the traces cleaned at exit, and the same cleaning done at once. A
// cleaning acts whether or not the dialog is confirmed; the exit settings change only in save().
class HistoryOptionsPage : public OptionsPage
{
    Q_OBJECT
public:
    // Address list, search list, cookies, history, temporary files: the order of the boxes.
    static constexpr int kTraces = 5;
    // Asks a yes-or-no question; true for yes.
    using Confirmation = std::function<bool(const QString &text)>;

    explicit HistoryOptionsPage(OptionsHost &host, QWidget *parent = nullptr);

    void save() override;

    void setMessageFunction(OptionsMessage message) { m_message = std::move(message); }
    void setConfirmation(Confirmation confirm) { m_confirm = std::move(confirm); }

    // Asks first, then starts the cleaning; false when the user declines or one is running.
    // The outcome is reported to the user, then by cleaned().
    bool cleanAll();
    // Starts cleaning what the manual boxes tick, without asking; reports as cleanAll.
    bool cleanSelected();

Q_SIGNALS:
    void cleaned(bool ok);

private:
    void load();
    void updateCleanSelected();
    bool clean(HistoryCleaner::Kinds kinds, bool reloadHistory);
    void finishCleaning(bool ok, bool reloadHistory);

    std::array<QCheckBox *, kTraces> m_atExit{};
    std::array<QCheckBox *, kTraces> m_now{};
    QPushButton *m_cleanAll;
    QPushButton *m_cleanSelected;
    OptionsMessage m_message;
    Confirmation m_confirm;
    bool m_busy = false;
};
