#include "numberederror.h"

NumberedError::NumberedError(qint32 number, const QString &source, const QString &description)
    : std::runtime_error(description.toStdString()),
      m_number(number),
      m_source(source),
      m_description(description)
{
}

QString NumberedError::sourceFor(const char *classSuffix)
{
    return QLatin1String(kProgramFileName) + QLatin1String(classSuffix);
}
