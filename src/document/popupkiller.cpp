#include "popupkiller.h"

#include "core/appstate.h"
#include "core/paths.h"
#include "firstpopupnotice.h"
#include "whitelistquestiondialog.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#if defined(QT_MULTIMEDIA_LIB)
#include <QSoundEffect>
#endif

// ---------------------------------------------------------------- whitelist

QString domainName(const QString &url)
{
    static const QLatin1String kWwwSchemes[] = {
        QLatin1String("HTTPS://WWW."), QLatin1String("HTTP://WWW."), QLatin1String("FTP://WWW."),
        QLatin1String("GOPHER://WWW.")};
    static const QLatin1String kSchemes[] = {QLatin1String("HTTPS://"), QLatin1String("HTTP://"),
                                             QLatin1String("FTP://"), QLatin1String("GOPHER://")};

    if (url.startsWith(QLatin1String("FILE://"), Qt::CaseInsensitive))
        return url;

    qsizetype start = -1;
    for (const QLatin1String &prefix : kWwwSchemes) {
        if (url.startsWith(prefix, Qt::CaseInsensitive)) {
            start = prefix.size();
            break;
        }
    }
    if (start < 0 && url.startsWith(QLatin1String("WWW."), Qt::CaseInsensitive))
        start = 4;
    if (start < 0) {
        for (const QLatin1String &prefix : kSchemes) {
            if (url.startsWith(prefix, Qt::CaseInsensitive)) {
                start = prefix.size();
                break;
            }
        }
    }
    const QString rest = url.mid(qMax<qsizetype>(start, 0));
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    return slash < 0 ? rest : rest.left(slash);
}

static bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

bool whitelistMatches(const QString &url, const QStringList &whitelist)
{
    if (url.isEmpty())
        return false;
    for (const QString &entry : whitelist) {
        if (!isBlank(entry) && url.contains(entry, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool addToWhitelist(QStringList &whitelist, const QString &entry)
{
    if (isBlank(entry))
        return false;
    const QString upper = entry.toUpper();
    for (const QString &existing : whitelist) {
        if (existing.toUpper() == upper)
            return true;
    }
    if (whitelist.size() >= kMaxWhitelistEntries)
        return false;
    whitelist.append(entry);
    return true;
}

bool addToWhitelist(const QString &entry)
{
    const bool added = addToWhitelist(AppState::whitelist, entry);
    AppState::whitelistCount = qint16(qMin<qsizetype>(AppState::whitelist.size(),
                                                      kMaxWhitelistEntries));
    return added;
}

// ---------------------------------------------------------------- decision

PopupDecision isPopupToKill(const PopupContext &c)
{
    PopupDecision decision;
    const bool altOverride = c.altEnabled && c.altDown;
    const bool letThrough = !c.killerEnabled || altOverride || c.securePage || c.javaScriptLink ||
                            c.shiftDown || c.customizerAllows;
    if (!letThrough) {
        decision.kill = !whitelistMatches(c.openerUrl, c.whitelist);
        return decision;
    }
    // Alt let it through (whatever else did too): ask about the site, or add it as set.
    if (altOverride) {
        if (c.promptWhitelist) {
            decision.whitelistAction = WhitelistAction::Prompt;
            decision.whitelistEntry = c.openerUrl;
        } else if (c.autoWhitelistAdd == 2) {
            decision.whitelistAction = WhitelistAction::AddSite;
            decision.whitelistEntry = c.openerUrl;
        } else if (c.autoWhitelistAdd == 3) {
            decision.whitelistAction = WhitelistAction::AddDomain;
            decision.whitelistEntry = domainName(c.openerUrl);
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
bool g_bPopupCursor = false;
} // namespace

void setPopupCursor(bool on)
{
    if (g_bPopupCursor == on)
        return;
    if (on) {
        if (!AppState::settings.popupChangeMouse)
            return;
        QGuiApplication::setOverrideCursor(QCursor(Qt::ForbiddenCursor));
    } else {
        // Taken back even when the setting was switched off meanwhile.
        QGuiApplication::restoreOverrideCursor();
    }
    g_bPopupCursor = on;
}

bool isPopupCursorShown()
{
    return g_bPopupCursor;
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

PopupKiller::PopupKiller(QWidget *document) : QObject(document), m_document(document)
{
    m_blinkTimer.setInterval(800);
    connect(&m_blinkTimer, &QTimer::timeout, this, &PopupKiller::onBlinkTick);
}

PopupKiller::~PopupKiller()
{
    // A document closed while its kill blinks leaves neither cursor nor blink behind.
    if (m_blinkTimer.isActive())
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
    context.whitelist = AppState::whitelist;
    context.autoWhitelistAdd = s.popupAutoWhitelistAdd;
    context.promptWhitelist = s.popupPromptWhitelist;

    const PopupDecision decision = isPopupToKill(context);
    javaScriptLink = false;
    switch (decision.whitelistAction) {
    case WhitelistAction::None:
        break;
    case WhitelistAction::Prompt:
        WhitelistQuestionDialog::queue(decision.whitelistEntry, m_document);
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
    m_blinkTimer.start();
    FirstPopupNotice::noticeOnce(m_document);
}

void PopupKiller::onBlinkTick()
{
    const int icon = currentIndicatorIcon ? currentIndicatorIcon() : m_lastIcon;
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
    m_blinkTimer.stop();
    m_blinkPhase = 0;
    setPopupCursor(false);
    setIcon(AppState::settings.popupKillerEnable ? 3 : 1);
}

void PopupKiller::setIcon(int icon)
{
    m_lastIcon = icon;
    emit indicatorIconChanged(icon);
}
