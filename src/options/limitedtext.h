#pragma once

#include <QLineEdit>

// Fills a box whose typing is limited to limit characters without cutting a longer text the
// program puts there: such a text may be shortened by the user but not made longer.
inline void setLimitedText(QLineEdit *edit, const QString &text, int limit)
{
    edit->setMaxLength(qMax(limit, int(text.size())));
    edit->setText(text);
}
