#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

// Which encoding a downloaded feed is written in, and its text. The answer follows what a
// browser's request object gives as the response text, so a feed reads here as it reads
// elsewhere:
//   1. a byte order mark (UTF-8, UTF-16 or UTF-32, either byte order);
//   2. the charset of the Content-Type header, when it names an encoding we can decode;
//   3. UTF-16 or UTF-32 without a byte order mark, told by how the first "<" of the document
//      is laid out in bytes;
//   4. the encoding the XML declaration names, when we can decode it;
//   5. UTF-8.
// A name that no decoder knows passes on to the next rule; "ISO-8859-1" and "US-ASCII" read as
// windows-1252, of which they are subsets in every byte a real feed holds, where a decoder
// knows windows-1252.
namespace RssFeedEncoding {

// The charset parameter of a Content-Type value ("text/xml; charset=windows-1251"), without
// quotes and blanks; empty when there is none.
QByteArray charsetParameter(QByteArrayView contentType);

// The encoding of body, as a name QStringDecoder accepts ("UTF-8", "UTF-16LE", "windows-1251").
QByteArray detect(QByteArrayView body, QByteArrayView contentType = {});

// A decoder for a name detect gave; UTF-8 for a name no decoder knows. A byte order mark at
// the start of what it decodes is dropped.
QStringDecoder decoder(const QByteArray &encoding);

// The whole body as text.
QString decode(QByteArrayView body, QByteArrayView contentType = {});

} // namespace RssFeedEncoding
