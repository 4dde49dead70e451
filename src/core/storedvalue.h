#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Text <-> value conversions used by the settings store and the localiser. They follow the
// rules the stored settings were always written with: Booleans as "True"/"False" (any case, or
// any number), numbers as decimal text or "&H" hexadecimal, halves rounded to even.
namespace StoredValue {

// Parses a whole numeric text: optional blanks, sign, digits, decimals and exponent; '.' and ','
// both count as the decimal separator. "&H" hex and "&O" octal give integers.
std::optional<double> parseNumber(const QString &text);

std::optional<bool> toBoolean(const QString &text);
std::optional<qint16> toInteger(const QString &text);
std::optional<qint32> toLong(const QString &text);
std::optional<float> toSingle(const QString &text);

// The leading number of a text, 0 when there is none ("12abc" -> 12, "abc" -> 0).
double leadingValue(const QString &text);

// Rounds halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double value);

QString fromBoolean(bool value);
QString fromInteger(qint64 value);
// Up to seven significant digits, '.' as the decimal separator.
QString fromSingle(float value);

} // namespace StoredValue
