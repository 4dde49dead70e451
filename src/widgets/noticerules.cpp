#include "noticerules.h"

#include "core/settingsstore.h"
#include "core/strings.h"

#include <QUrl>

namespace NoticeRules {

namespace {

QString replaceEntities(QString text)
{
    text.replace(QStringLiteral("&#8217;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&#8230;"), QStringLiteral("..."));
    return text;
}

} // namespace

QString cleanTitle(const QString &title)
{
    return replaceEntities(title);
}

QString cleanText(const QString &text)
{
    QString cleaned = replaceEntities(text);
    cleaned.remove(QStringLiteral("<!--adsense-->"));
    qsizetype start = 0;
    while (start < cleaned.size() &&
           (cleaned[start] == u'\r' || cleaned[start] == u'\n' || cleaned[start] == u' '))
        ++start;
    qsizetype end = cleaned.size();
    while (end > start && cleaned[end - 1] == u' ')
        --end;
    return cleaned.mid(start, end - start);
}

LinkKind classifyLink(const QString &link)
{
    if (link.compare(QStringLiteral("RSS"), Qt::CaseInsensitive) == 0)
        return LinkKind::RssSection;
    if (!link.startsWith(QStringLiteral("http"), Qt::CaseInsensitive))
        return LinkKind::None;
    const QUrl url(link, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && !url.host().isEmpty() &&
        (scheme == QStringLiteral("http") || scheme == QStringLiteral("https")))
        return LinkKind::WebPage;
    return LinkKind::None;
}

std::optional<Notice> gamesPageNotice(SettingsStore &store, const QString &pageTitle)
{
    const QString section = QStringLiteral("Settings");
    const QString key = QStringLiteral("GamesDate");
    if (pageTitle.isEmpty() || pageTitle == store.read(section, key, QString()))
        return std::nullopt;
    store.write(section, key, pageTitle);
    return Notice{loadResString(1211), loadResString(1210), QString()};
}

} // namespace NoticeRules

NoticeFade::Step NoticeFade::start()
{
    m_phase = Phase::Fading;
    m_alpha = 0;
    m_nextAlpha = 10;
    return {m_alpha, kFadeStepMs};
}

NoticeFade::Step NoticeFade::advance()
{
    switch (m_phase) {
    case Phase::Idle:
        return start();
    case Phase::Fading:
        m_alpha = m_nextAlpha;
        m_nextAlpha += 50;
        if (m_alpha >= kWaitAlpha) {
            m_phase = Phase::Waiting;
            return {m_alpha, kWaitMs};
        }
        return {m_alpha, kFadeStepMs};
    case Phase::Waiting:
        m_phase = Phase::Finished;
        break;
    case Phase::Finished:
        break;
    }
    return {m_alpha, -1};
}
