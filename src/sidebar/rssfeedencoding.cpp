#include "rssfeedencoding.h"

#include <QList>
#include <QStringConverter>

#include <algorithm>
#include <optional>

namespace {

// The encoding a byte order mark names or, given the character the document begins with, also
// how that character is laid out: UTF-32 or UTF-16 in either byte order, told from the one-byte
// encodings. Empty when neither shows.
QByteArray encodingShown(QByteArrayView body, char16_t firstCharacter = 0)
{
    const std::optional<QStringConverter::Encoding> shown = QStringConverter::encodingForData(body, firstCharacter);
    return shown ? QByteArray(QStringConverter::nameForEncoding(*shown)) : QByteArray();
}

// What "ISO-8859-1" and "US-ASCII" read as: windows-1252, of which they are subsets in every
// byte a real feed holds, where a decoder knows it.
QByteArray latin1Reading()
{
    static const QByteArray name = QStringDecoder("windows-1252").isValid() ? QByteArray("windows-1252")
                                                                           : QByteArray("ISO-8859-1");
    return name;
}

// The name as a decoder knows it, or empty when no decoder does. UTF-16 or UTF-32 without a
// byte order takes the order the body shows, else little-endian, as browsers read it.
QByteArray usableName(QByteArray label, QByteArrayView body)
{
    label = label.trimmed().toLower();
    if (label.isEmpty())
        return {};
    static const char *const latin1Names[] = {"iso-8859-1", "iso8859-1", "iso_8859-1", "latin1",
                                              "l1",         "us-ascii",  "ascii"};
    if (std::find(std::begin(latin1Names), std::end(latin1Names), label) != std::end(latin1Names))
        return latin1Reading();
    const QStringDecoder decoder(label.constData());
    if (!decoder.isValid())
        return {};
    const char *known = decoder.name();
    const QByteArray name = known && *known ? QByteArray(known) : label;
    if (name == "UTF-16" || name == "UTF-32") {
        const QByteArray shown = encodingShown(body, u'<');
        return shown.startsWith(name) ? shown : name + "LE";
    }
    return name;
}

// The encoding named in the XML declaration at the very start of an ASCII-compatible body.
QByteArray declaredEncoding(QByteArrayView body)
{
    if (!body.startsWith("<?xml"))
        return {};
    const QByteArrayView head = body.first(std::min<qsizetype>(body.size(), 1024));
    const qsizetype end = head.indexOf("?>");
    const QByteArrayView declaration = end < 0 ? head : head.first(end);
    qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    at += 8;
    auto skipBlanks = [&] {
        while (at < declaration.size() && QByteArrayView(" \t\r\n").contains(declaration[at]))
            ++at;
    };
    skipBlanks();
    if (at >= declaration.size() || declaration[at] != '=')
        return {};
    ++at;
    skipBlanks();
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
        return {};
    const char quote = declaration[at++];
    const qsizetype close = declaration.indexOf(quote, at);
    if (close < 0)
        return {};
    return declaration.sliced(at, close - at).toByteArray();
}

// Whether the encoding reads the declaration's first bytes as they are: a declaration that
// names a two- or four-byte encoding in one-byte text cannot be right.
bool readsAsciiAsIs(const QByteArray &encoding)
{
    QStringDecoder decoder(encoding.constData());
    return decoder.isValid() && QString(decoder.decode(QByteArrayView("<?xml"))) == QLatin1String("<?xml");
}

} // namespace

namespace RssFeedEncoding {

QByteArray charsetParameter(QByteArrayView contentType)
{
    const QList<QByteArray> parameters = contentType.toByteArray().split(';');
    for (qsizetype i = 1; i < parameters.size(); ++i) {
        const QByteArray parameter = parameters[i].trimmed();
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0 || parameter.first(equals).trimmed().toLower() != "charset")
            continue;
        QByteArray value = parameter.sliced(equals + 1).trimmed();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.sliced(1, value.size() - 2).trimmed();
        return value;
    }
    return {};
}

QByteArray detect(QByteArrayView body, QByteArrayView contentType)
{
    const QByteArray marked = encodingShown(body);
    if (!marked.isEmpty())
        return marked;
    const QByteArray fromHeader = usableName(charsetParameter(contentType), body);
    if (!fromHeader.isEmpty())
        return fromHeader;
    const QByteArray wide = encodingShown(body, u'<');
    if (!wide.isEmpty())
        return wide;
    const QByteArray declared = usableName(declaredEncoding(body), body);
    if (!declared.isEmpty() && readsAsciiAsIs(declared))
        return declared;
    return "UTF-8";
}

QStringDecoder decoder(const QByteArray &encoding)
{
    QStringDecoder named(encoding.constData());
    return named.isValid() ? std::move(named) : QStringDecoder(QStringConverter::Utf8);
}

QString decode(QByteArrayView body, QByteArrayView contentType)
{
    QStringDecoder bodyDecoder = decoder(detect(body, contentType));
    return bodyDecoder.decode(body);
}

} // namespace RssFeedEncoding
