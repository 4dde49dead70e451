// Text typed into the address bar: what Enter does with it, the addresses offered while typing
// (typed and visited ones, local paths) and the address the text becomes.
//
// The first byte holds the keys and the offer limit: bit 0 Ctrl, bit 1 Shift, bit 2 Go New held
// down, bit 3 an active document, bit 4 paths typed as "file://" addresses, bits 5-7 the limit.
// The rest is UTF-8 lines: the typed text, then addresses taken in turn as typed and visited.
// Path offers list only a scratch folder of their own: the typed name keeps no "/". However a
// script address is spelled, Enter never opens it and it never resolves to one.
#include "core/addressmatcher.h"
#include "core/localpathoffers.h"
#include "frame/address/addressbarrules.h"
#include "fuzzinput.h"
#include "platform/typedaddress.h"

#include <QUrl>

#include <cstdlib>

namespace {

const QString &scratchFolder()
{
    static const QString folder = [] {
        const QString path = QDir::tempPath() + QStringLiteral("/quarvel-fuzz-address");
        QDir dir(path);
        dir.mkpath(QStringLiteral("alpha"));
        dir.mkpath(QStringLiteral("Alpha 2"));
        dir.mkpath(QStringLiteral(".config"));
        for (const QString &name : {QStringLiteral("alpha.html"), QStringLiteral("10.txt"),
                                    QStringLiteral("9.txt"), QStringLiteral(".hidden")})
            writeScratchFile(QStringLiteral("quarvel-fuzz-address/") + name, "x");
        return path;
    }();
    return folder;
}

void checkOffers(const QStringList &offers, const QStringList &typed, const QStringList &visited,
                 int limit)
{
    if (offers.size() > qMax(limit, 0))
        abort();
    for (const QString &offer : offers) {
        if (!typed.contains(offer) && !visited.contains(offer))
            abort();
    }
}

void checkPathOffers(const QString &text, int limit, bool asFileAddress)
{
    QString name = text;
    name.remove(u'/');
    const QString typedFolder =
        (asFileAddress ? QStringLiteral("file://") : QString()) + scratchFolder() + u'/';
    const QStringList offers = LocalPathOffers::offers(typedFolder + name, limit);
    if (offers.size() > qMax(limit, 0))
        abort();
    for (const QString &offer : offers) {
        const qsizetype slash = offer.indexOf(u'/', typedFolder.size());
        if (!offer.startsWith(typedFolder) || (slash >= 0 && slash != offer.size() - 1))
            abort(); // an offer outside the typed folder
    }
}

// The typed text with "javascript:" put after its leading blanks and control characters, its
// letters in the case bits picks, and a tab or a line break inside when bits asks for one: the
// ways the engine would still read it as a script address.
QString scriptVariant(const QString &text, quint8 bits)
{
    qsizetype lead = 0;
    while (lead < text.size() && (text.at(lead).unicode() <= 0x20 || text.at(lead).isSpace()))
        ++lead;
    QString scheme = QStringLiteral("javascript:");
    for (qsizetype i = 0; i < 10; ++i) {
        if ((bits >> (i % 6)) & 1)
            scheme[i] = scheme.at(i).toUpper();
    }
    if (bits & 0x40)
        scheme.insert(1 + bits % 10, bits & 0x80 ? QStringLiteral("\r\n") : QStringLiteral("\t"));
    return text.left(lead) + scheme + text.mid(lead);
}

// A typed text never becomes a script address: it would run in whatever page is showing.
void checkNotScript(const QUrl &url)
{
    if (!url.scheme().compare(QLatin1String("javascript"), Qt::CaseInsensitive))
        abort();
}

void checkScriptRefused(AddressBarRules::EnterInput enter, quint8 bits)
{
    enter.text = scriptVariant(enter.text, bits);
    enter.ctrl = false; // Ctrl+Enter makes it "http://www.javascript:...com"
    const AddressBarRules::EnterOutcome outcome = AddressBarRules::decideEnter(enter);
    if (outcome.action == AddressBarRules::EnterOutcome::OpenNewTab
        || outcome.action == AddressBarRules::EnterOutcome::NavigateActive || outcome.addToTypedList)
        abort();
    checkNotScript(TypedAddress::resolve(enter.text, scratchFolder(), {}));
}

void dropMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // A typed text holding a NUL makes each look-up of the file system warn; the warnings would
    // bury libFuzzer's own output. A fatal message still ends the run.
    qInstallMessageHandler(dropMessage);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const quint8 flags = data[0];
    const int limit = flags >> 5;
    const QStringList lines = QString::fromUtf8(fuzzBytes(data + 1, size - 1)).split(u'\n');
    const QString &text = lines.constFirst();
    QStringList typed, visited;
    for (qsizetype i = 1; i < lines.size(); ++i)
        (i % 2 ? typed : visited) << lines.at(i);

    AddressBarRules::EnterInput enter;
    enter.text = text;
    enter.ctrl = flags & 1;
    enter.shift = flags & 2;
    enter.goNewDown = flags & 4;
    enter.hasActiveDocument = flags & 8;
    enter.typedAddresses = typed;
    const AddressBarRules::EnterOutcome outcome = AddressBarRules::decideEnter(enter);
    (void)AddressBarRules::shouldInsertAtTop(typed, outcome.text);

    AddressMatcher matcher;
    matcher.setTypedAddresses(typed);
    matcher.setVisitedAddresses(visited);
    checkOffers(matcher.matches(text, limit), typed, visited, limit);
    (void)AddressMatcher::bareAddress(text);

    (void)LocalPathOffers::isPath(text);
    checkPathOffers(text, limit, flags & 16);

    (void)TypedAddress::isSearchText(text);
    const auto search = [](const QString &query) {
        return QStringLiteral("https://search.example/?q=") + QString::fromLatin1(QUrl::toPercentEncoding(query));
    };
    checkNotScript(TypedAddress::resolve(text, scratchFolder(), search));
    checkNotScript(TypedAddress::resolve(outcome.text, scratchFolder(), {}));
    checkScriptRefused(enter, data[size - 1]);
    return 0;
}
