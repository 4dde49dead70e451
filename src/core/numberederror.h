#pragma once

#include <QString>
#include <QtGlobal>

#include <stdexcept>

// The numbered error the drawing and input classes raise: a number, a source text (the
// program's file name followed by the raising class's suffix, "quarvel.PanelStatusBar") and a
// description. It is thrown as a C++ exception from the member that fails; members that are
// called from Qt's event delivery (paint and input handlers) never throw, so a caller only
// needs a handler around the property writes and lookups it makes itself.
class NumberedError : public std::runtime_error
{
public:
    NumberedError(qint32 number, const QString &source, const QString &description);

    qint32 number() const { return m_number; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }

    // The program's file name followed by a class suffix such as ".vbalStatusBar".
    static QString sourceFor(const char *classSuffix);

private:
    qint32 m_number;
    QString m_source;
    QString m_description;
};

// The program's file name as the error sources carry it.
inline constexpr char kProgramFileName[] = "quarvel";

// Error numbers (object errors are 0x80040000 + n, kept as the signed 32-bit value).
inline constexpr qint32 kErrSubscriptOutOfRange = 9;
inline constexpr qint32 kErrPathFileAccess = 17;
inline constexpr qint32 kErrInvalidObjectUse = 425;
inline constexpr qint32 kErrInvalidPanelIndex = qint32(0x8004041Au);
inline constexpr qint32 kErrTooManyPanels = qint32(0x8004041Bu);
inline constexpr qint32 kErrStylesNotSupported = qint32(0x8004041Cu);
