#include "storedvalue.h"

#include <cmath>
#include <limits>

namespace StoredValue {

namespace {

std::optional<double> parseRadix(QStringView digits, int radix, int maxDigitsFor16, int maxDigits)
{
    if (digits.isEmpty() || digits.size() > maxDigits)
        return std::nullopt;
    bool ok = false;
    const quint64 raw = digits.toULongLong(&ok, radix);
    if (!ok)
        return std::nullopt;
    // Short literals are 16-bit, longer ones 32-bit, both two's complement.
    if (digits.size() <= maxDigitsFor16 && raw <= 0xFFFF)
        return double(qint16(quint16(raw)));
    if (raw > 0xFFFFFFFFull)
        return std::nullopt;
    return double(qint32(quint32(raw)));
}

} // namespace

std::optional<double> parseNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (t.size() > 2 && t[0] == u'&') {
        const QChar kind = t[1].toUpper();
        if (kind == u'H')
            return parseRadix(QStringView(t).mid(2), 16, 4, 8);
        if (kind == u'O')
            return parseRadix(QStringView(t).mid(2), 8, 6, 11);
        return std::nullopt;
    }
    QString normal = t;
    normal.replace(u',', u'.');
    bool ok = false;
    const double value = normal.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<bool> toBoolean(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const auto number = parseNumber(t);
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}

std::optional<qint16> toInteger(const QString &text)
{
    const auto number = parseNumber(text);
    if (!number)
        return std::nullopt;
    const double rounded = roundHalfEven(*number);
    if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(rounded);
}

std::optional<qint32> toLong(const QString &text)
{
    const auto number = parseNumber(text);
    if (!number)
        return std::nullopt;
    const double rounded = roundHalfEven(*number);
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(rounded);
}

std::optional<float> toSingle(const QString &text)
{
    const auto number = parseNumber(text);
    if (!number || std::fabs(*number) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(*number);
}

double leadingValue(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const int start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool digits = false;
    while (i < n && text[i].isDigit()) {
        ++i;
        digits = true;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit()) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    return QStringView(text).mid(start, i - start).toDouble();
}

double roundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode is to nearest, ties to even
}

QString fromBoolean(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString fromInteger(qint64 value)
{
    return QString::number(value);
}

QString fromSingle(float value)
{
    return QString::number(double(value), 'g', 7);
}

} // namespace StoredValue
