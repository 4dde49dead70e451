#include "vberror.h"

VbError::VbError(qint32 number, const QString &source, const QString &description)
    : std::runtime_error(description.toStdString()),
      m_number(number),
      m_source(source),
      m_description(description)
{
}

QString VbError::sourceFor(const char *classSuffix)
{
    return QLatin1String(kProgramFileName) + QLatin1String(classSuffix);
}
