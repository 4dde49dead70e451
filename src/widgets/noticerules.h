#pragma once

#include <QString>

#include <functional>
#include <optional>

class SettingsStore;

// One short notice of the notification window: a title, a text and what a click on the text
// opens ("RSS" for the side bar's feed section, a web address, or nothing).
struct Notice
{
    QString title;
    QString text;
    QString link;

    bool operator==(const Notice &other) const = default;
};

// The rules of a notice that need no window: its texts, its link and its fade.
namespace NoticeRules {

// The two entities feeds leave in headlines become their characters.
QString cleanTitle(const QString &title);
// As the title; the "<!--adsense-->" marker goes, and the text starts at its first visible
// character (later line breaks stay) and ends without trailing blanks.
QString cleanText(const QString &text);

enum class LinkKind { None, RssSection, WebPage };
// "RSS" in any case: the side bar's feed section; an http or https address: a web page in a new
// tab; anything else (other schemes, bare words) does nothing.
LinkKind classifyLink(const QString &link);

// The games page of the side bar showed pageTitle: when it is not empty and differs from the
// title remembered in "GamesDate" ("Settings"), the title is remembered at once and the
// "Games Updated!" notice is returned.
std::optional<Notice> gamesPageNotice(SettingsStore &store, const QString &pageTitle);

} // namespace NoticeRules

// The life of one shown notice, one step at a time: it fades in from invisible in steps of
// kFadeStepMs, stays at kWaitAlpha for kWaitMs and then ends.
class NoticeFade
{
public:
    static constexpr int kFadeStepMs = 200;
    static constexpr int kWaitMs = 15000;
    // The opacity (of 255) a notice waits at, slightly translucent.
    static constexpr int kWaitAlpha = 210;
    // From start() to the end when nothing cuts it short.
    static constexpr int kTotalMs = 5 * kFadeStepMs + kWaitMs;

    // The opacity to show now (0..255) and the time until the next step; -1 once finished.
    struct Step
    {
        int alpha;
        int delayMs;
    };

    // Begins a notice: invisible, first fade step after kFadeStepMs.
    Step start();
    // The step that follows the one before; after the end it stays finished.
    Step advance();
    // Ends the notice at once (its close button).
    void finish() { m_phase = Phase::Finished; }

    // The opacity of the last step (0..255).
    int alpha() const { return m_alpha; }

private:
    enum class Phase { Idle, Fading, Waiting, Finished };

    Phase m_phase = Phase::Idle;
    int m_alpha = 0;
    int m_nextAlpha = 10;
};

// Time as the notification window sees it; tests give it a clock they step by hand.
class NoticeClock
{
public:
    virtual ~NoticeClock() = default;
    // Calls fired once after ms milliseconds; replaces a call still pending.
    virtual void schedule(int ms, std::function<void()> fired) = 0;
    virtual void cancel() = 0;
    // Milliseconds on a clock that never goes back.
    virtual qint64 now() const = 0;
};
