#include "benchhome.h"

#include "benchcleanup.h"

#include <QFile>
#include <QSaveFile>

namespace {

struct IniValue
{
    QString section;
    QString key;
    QString value;
};

// Sets the values in an ini file: an existing key keeps its place, a missing one goes at the end
// of its section (the section is added when missing). Everything else is kept as it is.
void setIniValues(const QString &path, const QList<IniValue> &values)
{
    QStringList lines;
    QFile in(path);
    if (in.open(QIODevice::ReadOnly))
        lines = QString::fromUtf8(in.readAll()).split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();

    for (const IniValue &wanted : values) {
        qsizetype sectionEnd = -1; // the line after the section's last entry
        bool inSection = false, done = false;
        for (qsizetype i = 0; i < lines.size() && !done; ++i) {
            const QString trimmed = lines[i].trimmed();
            if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
                inSection = trimmed.mid(1, trimmed.size() - 2).compare(wanted.section, Qt::CaseInsensitive) == 0;
                if (inSection)
                    sectionEnd = i + 1;
                continue;
            }
            if (!inSection)
                continue;
            if (!trimmed.isEmpty())
                sectionEnd = i + 1;
            const qsizetype eq = lines[i].indexOf(u'=');
            if (eq > 0 && lines[i].left(eq).trimmed().compare(wanted.key, Qt::CaseInsensitive) == 0) {
                lines[i] = wanted.key + u'=' + wanted.value;
                done = true;
            }
        }
        if (done)
            continue;
        if (sectionEnd < 0) {
            lines << QString() << u'[' + wanted.section + u']';
            sectionEnd = lines.size();
        }
        lines.insert(sectionEnd, wanted.key + u'=' + wanted.value);
    }

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(lines.join(u'\n').toUtf8() + '\n') < 0 ||
        !out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) || !out.commit())
        qFatal("Cannot write %s", qPrintable(path));
}

} // namespace

BenchHome::BenchHome(Kind kind) : m_kind(kind)
{
    if (!isValid())
        qFatal("Cannot make a temporary home in %s", qPrintable(path()));
    BenchCleanup::addFolder(path());
}

BenchHome::~BenchHome()
{
    BenchCleanup::forgetFolder(path());
}

void BenchHome::seedQuarvel(const QStringList &savedPages, const QSize &screen)
{
    addUserFolder(QStringLiteral("config/Quarvel"));
    const QString folder = filePath(QStringLiteral("config/Quarvel"));

    const QString t = QStringLiteral("True"), f = QStringLiteral("False");
    QList<IniValue> values = {
        {"Settings", "FirstTime", f},
        {"Settings", "PrevSessionCrashed", f},
        {"Settings", "DocumentCount", QString::number(savedPages.size())},
        {"Settings", "MainMaximized", t},
        {"Settings", "MainLeft", QStringLiteral("0")},
        {"Settings", "MainTop", QStringLiteral("0")},
        // Quarvel keeps window sizes in twips, 15 to the pixel.
        {"Settings", "MainWidth", QString::number(screen.width() * 15)},
        {"Settings", "MainHeight", QString::number(screen.height() * 15)},
        {"General", "SaveDocumentOnExit", savedPages.isEmpty() ? f : t},
        {"General", "LoadAction", QStringLiteral("1")},
        {"General", "CheckIfDefault", f},
        {"Settings", "FileAssociationSetDefault", f},
        {"General", "CheckForUpdate", f},
        {"Sites", "SitesHome1", QStringLiteral("about:blank")},
    };
    for (int i = 0; i < savedPages.size(); ++i)
        values.append({"Settings", QStringLiteral("Document%1").arg(i + 1), savedPages[i]});
    setIniValues(folder + QStringLiteral("/Quarvel.ini"), values);
}

QString homeKindName(BenchHome::Kind kind)
{
    return kind == BenchHome::Kind::Warm ? QStringLiteral("warm") : QStringLiteral("fresh");
}
