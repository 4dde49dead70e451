#include "popupkiller.h"

#include "core/appstate.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "popupwhitelist.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QUrl>

#if defined(QT_MULTIMEDIA_LIB)
#include <QSoundEffect>
#endif

// ---------------------------------------------------------------- decision

PopupDecision isPopupToKill(const PopupContext &context)
{
    PopupDecision decision;
    const bool altOverride = context.altEnabled && context.altDown;
    const bool letThrough = !context.killerEnabled || altOverride || context.securePage ||
                            context.javaScriptLink || context.shiftDown || context.customizerAllows;
    if (!letThrough) {
        decision.kill = !whitelistMatches(context.openerUrl, context.whitelist);
        return decision;
    }
    // Alt let it through (whatever else did too): ask about the site, or add it as set.
    if (altOverride) {
        if (context.promptWhitelist) {
            decision.whitelistAction = WhitelistAction::Prompt;
            decision.whitelistEntry = context.openerUrl;
        } else if (context.autoWhitelistAdd == 2) {
            decision.whitelistAction = WhitelistAction::AddSite;
            decision.whitelistEntry = context.openerUrl;
        } else if (context.autoWhitelistAdd == 3) {
            decision.whitelistAction = WhitelistAction::AddDomain;
            decision.whitelistEntry = domainName(context.openerUrl);
        }
    }
    return decision;
}

// ---------------------------------------------------------------- keys, cursor, sound

bool isShiftDown()
{
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}

bool isAltDown()
{
    return QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier;
}

namespace {
bool g_popupCursorShown = false;
} // namespace

void setPopupCursor(bool on)
{
    if (g_popupCursorShown == on)
        return;
    if (on) {
        if (!AppState::settings.popupChangeMouse)
            return;
        QGuiApplication::setOverrideCursor(QCursor(Qt::ForbiddenCursor));
    } else {
        // Taken back even when the setting was switched off meanwhile.
        QGuiApplication::restoreOverrideCursor();
    }
    g_popupCursorShown = on;
}

bool isPopupCursorShown()
{
    return g_popupCursorShown;
}

#if defined(QT_MULTIMEDIA_LIB)
namespace {

// One player for the whole program; it plays as soon as its file is loaded.
class PopupSound : public QSoundEffect
{
public:
    explicit PopupSound(QObject *parent) : QSoundEffect(parent)
    {
        setVolume(0.5f);
        connect(this, &QSoundEffect::statusChanged, this, [this] {
            if (status() == QSoundEffect::Ready && m_pending) {
                m_pending = false;
                QSoundEffect::play();
            } else if (status() == QSoundEffect::Error) {
                m_pending = false;
            }
        });
    }

    void playFile(const QString &file)
    {
        const QUrl url = QUrl::fromLocalFile(file);
        if (source() != url) {
            m_pending = true;
            setSource(url);
        } else if (status() == QSoundEffect::Ready) {
            QSoundEffect::play();
        } else if (status() != QSoundEffect::Error) {
            m_pending = true;
        }
    }

private:
    bool m_pending = false;
};

} // namespace
#endif

void playPopupSound()
{
    if (!AppState::settings.popupPlaySound)
        return;
    QString file = AppState::settings.popupSoundFile;
    if (file.isEmpty())
        file = Paths::assetFile(QStringLiteral("popup.wav"));
    if (!QFileInfo(file).isFile())
        return;
#if defined(QT_MULTIMEDIA_LIB)
    static QPointer<PopupSound> player;
    if (!player)
        player = new PopupSound(QCoreApplication::instance());
    player->playFile(file);
#endif
}

// ---------------------------------------------------------------- PopupKiller

PopupKiller::PopupKiller(QObject *parent) : QObject(parent), m_blinkTimer(new QTimer(this))
{
    m_blinkTimer->setObjectName(QStringLiteral("blinkTimer"));
    m_blinkTimer->setInterval(800);
    connect(m_blinkTimer, &QTimer::timeout, this, &PopupKiller::onBlinkTick);
}

PopupKiller::~PopupKiller()
{
    // A document closed while its kill blinks leaves neither cursor nor blink behind.
    if (m_blinkTimer->isActive())
        endBlink();
}

bool PopupKiller::decide(const QString &url, bool securePage, bool &javaScriptLink,
                         bool customizerAllows)
{
    const SettingsModel &s = AppState::settings;
    PopupContext context;
    context.altDown = isAltDown();
    context.shiftDown = isShiftDown();
    context.customizerAllows = customizerAllows;
    context.killerEnabled = s.popupKillerEnable;
    context.altEnabled = s.popupAltEnable;
    context.securePage = securePage;
    context.javaScriptLink = javaScriptLink;
    context.openerUrl = url;
    context.whitelist = programWhitelist();
    context.autoWhitelistAdd = s.popupAutoWhitelistAdd;
    context.promptWhitelist = s.popupPromptWhitelist;

    const PopupDecision decision = isPopupToKill(context);
    javaScriptLink = false;
    switch (decision.whitelistAction) {
    case WhitelistAction::None:
        break;
    case WhitelistAction::Prompt:
        emit whitelistQuestionRequested(decision.whitelistEntry);
        break;
    case WhitelistAction::AddSite:
    case WhitelistAction::AddDomain:
        addToWhitelist(decision.whitelistEntry);
        break;
    }
    return decision.kill;
}

void PopupKiller::reportKilled()
{
    playPopupSound();
    setPopupCursor(true);
    m_blinkPhase = 0;
    m_blinkTimer->start();

    SettingsStore &store = SettingsStore::instance();
    const QString section = QStringLiteral("Popup");
    const QString key = QStringLiteral("FirstPopup");
    if (!SettingsModel::readBoolean(store, section, key, true))
        return;
    SettingsModel::writeBoolean(store, section, key, false);
    emit firstKillNoticeRequested();
}

void PopupKiller::onBlinkTick()
{
    const int icon = m_indicatorReader ? m_indicatorReader() : m_lastIcon;
    setIcon(icon == 5 ? 3 : 5);
    if (m_blinkPhase > 2)
        setPopupCursor(false);
    if (m_blinkPhase < 5)
        ++m_blinkPhase;
    else
        endBlink();
}

void PopupKiller::endBlink()
{
    m_blinkTimer->stop();
    m_blinkPhase = 0;
    setPopupCursor(false);
    setIcon(AppState::settings.popupKillerEnable ? 3 : 1);
}

void PopupKiller::setIcon(int icon)
{
    m_lastIcon = icon;
    emit indicatorIconChanged(icon);
}
