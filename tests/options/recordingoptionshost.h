#pragma once

#include "options/optionshost.h"

#include <QColor>
#include <QFont>
#include <QStringList>

// An options host that records every call as one line of text.
class RecordingOptionsHost : public OptionsHost
{
public:
    QStringList calls;
    QString runningSkin = QStringLiteral("Blue");
    QString chosenSkin = QStringLiteral("Blue");
    QFont notesFont;
    // What the tree rebuilds report.
    bool reloadSucceeds = true;
    // What a cleaning reports, and whether the report waits in pendingCleaning (as it does
    // while the engine empties its cache).
    bool cleaningSucceeds = true;
    bool deferCleaning = false;
    std::function<void(bool)> pendingCleaning;

    void setTrayIconShown(bool shown) override { record(QStringLiteral("tray %1").arg(shown)); }
    bool setSidebarShown(bool shown) override
    {
        record(QStringLiteral("sidebar %1").arg(shown));
        return shown;
    }
    void applyQuickNotesStyle(const QFont &font, const QColor &color) override
    {
        notesFont = font;
        record(QStringLiteral("notes %1").arg(color.name()));
    }
    void armFavoritesTimer(int minutes) override { record(QStringLiteral("favorites %1").arg(minutes)); }
    void armHistoryTimer(int minutes) override { record(QStringLiteral("history %1").arg(minutes)); }
    void showCustomLinkButtons() override { record(QStringLiteral("links")); }
    QString currentSkin() const override { return runningSkin; }
    QString nextSkin() const override { return chosenSkin; }
    void setNextSkin(const QString &skin) override
    {
        chosenSkin = skin;
        record(QStringLiteral("next skin ") + skin);
    }
    void setCommandChecked(const QString &key, bool checked) override
    {
        record(QStringLiteral("check %1 %2").arg(key).arg(checked));
    }
    void reloadFormData() override { record(QStringLiteral("form data")); }
    bool reloadFavorites() override
    {
        record(QStringLiteral("reload favorites"));
        return reloadSucceeds;
    }
    void reloadHistory(std::function<void(bool)> done) override
    {
        record(QStringLiteral("reload history"));
        if (done)
            done(reloadSucceeds);
    }
    // The chosen kinds as five digits, in the order the cleaner deletes them ("clean 10011").
    void cleanHistory(HistoryCleaner::Kinds kinds, std::function<void(bool)> done) override
    {
        QString chosen;
        for (const HistoryCleaner::Kind kind :
             {HistoryCleaner::AddressList, HistoryCleaner::SearchList, HistoryCleaner::Cookies,
              HistoryCleaner::InternetHistory, HistoryCleaner::TemporaryFiles})
            chosen += kinds.testFlag(kind) ? QLatin1Char('1') : QLatin1Char('0');
        record(QStringLiteral("clean ") + chosen);
        if (deferCleaning)
            pendingCleaning = std::move(done);
        else
            done(cleaningSucceeds);
    }
    void showPopupKillerState() override { record(QStringLiteral("popup killer state")); }

private:
    void record(const QString &call) { calls.append(call); }
};
