#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

// ---- The popup decision

// What a let-through popup does to the whitelist.
enum class WhitelistAction {
    None,
    Prompt,    // ask the user about the site
    AddSite,   // add the opener's address
    AddDomain, // add the opener's domain
};

// Everything the decision depends on.
struct PopupContext
{
    bool killerEnabled = true;      // popupKillerEnable
    bool altEnabled = true;         // popupAltEnable: Alt lets popups through
    bool altDown = false;
    bool shiftDown = false;
    bool securePage = false;        // the opener page shows the security lock
    bool javaScriptLink = false;    // the last navigation began with "javascript:"
    bool customizerAllows = false;  // the page customizer lets this popup through
    QString openerUrl;              // the opener document's address
    QStringList whitelist;
    qint32 autoWhitelistAdd = 1;    // popupAutoWhitelistAdd: 1 nothing, 2 site, 3 domain
    bool promptWhitelist = true;    // popupPromptWhitelist
};

struct PopupDecision
{
    bool kill = false;
    WhitelistAction whitelistAction = WhitelistAction::None;
    QString whitelistEntry; // the opener's address (Prompt, AddSite) or its domain (AddDomain)
};

// A popup is let through when the killer is off, Alt is held and allowed to override, the
// opener is secure, the last navigation was a script link, Shift is held or the customizer
// allows it; Alt held with its override enabled then leads to the whitelist question or the
// automatic addition. Any other popup is killed unless the opener's address contains a
// whitelist entry.
PopupDecision isPopupToKill(const PopupContext &context);

// ---- The document's popup killer: decision with the program's settings, and the indication

// Shift and Alt as the keyboard state is reported at this moment.
bool isShiftDown();
bool isAltDown();

// Shows (true) or takes back (false) the popup-killed cursor, an application override cursor.
// Shown only when popupChangeMouse is on; taken back whatever that setting says now.
void setPopupCursor(bool on);
bool isPopupCursorShown();

// Plays the popup sound (popupSoundFile, or the shipped "popup.wav" when that is empty) when
// popupPlaySound is on. Without a sound device or a readable file nothing is heard.
void playPopupSound();

class PopupKiller : public QObject
{
    Q_OBJECT
public:
    explicit PopupKiller(QObject *parent = nullptr);
    ~PopupKiller() override;

    // Decides on a new-window request of a page at url with the Popup settings, the program's
    // whitelist and the keys held now. A let-through popup may add to the whitelist or request
    // the whitelist question. javaScriptLink is used up by the decision.
    bool decide(const QString &url, bool securePage, bool &javaScriptLink, bool customizerAllows);

    // A popup was killed: sound, cursor, the blinking "Item4" icon, and on the first kill ever
    // (while "Popup"/"FirstPopup" is still true; "False" is stored at once) the request for
    // the one-time notice.
    void reportKilled();

    // How to read the icon the "Item4" panel shows now; unset, the icon this object set last
    // counts.
    void setIndicatorReader(std::function<int()> reader) { m_indicatorReader = std::move(reader); }

signals:
    // Set the status bar's "Item4" panel to this icon (1 killer off, 3 on, 5 blink).
    void indicatorIconChanged(int icon);
    // Alt let a popup through and the user is to be asked about the opener's address. Emitted
    // inside the engine's new-window signal: the receiver asks there and then, so the answer
    // comes before the popup's window.
    void whitelistQuestionRequested(const QString &site);
    // The first popup ever was killed: the one-time notice is due. Emitted inside the engine's
    // new-window signal: the receiver shows it once that has returned.
    void firstKillNoticeRequested();

private:
    void onBlinkTick();
    void setIcon(int icon);
    void endBlink();

    // The blink of "Item4" after a kill: six ticks of 800 ms, the cursor back at the fourth.
    QTimer *m_blinkTimer; // "blinkTimer"
    int m_blinkPhase = 0; // ticks counted
    std::function<int()> m_indicatorReader;
    int m_lastIcon = -1;
};
