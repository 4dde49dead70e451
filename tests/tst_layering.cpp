#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <functional>

// The include structure of src/: a component is a header and its source file (x.h + x.cpp);
// includes may only point down the layer order, and never close a circle. No component (a
// class's header and sources, with what they hold beside the class) grows past a thousand lines.
class TestLayering : public QObject
{
    Q_OBJECT

    // One resolved #include "...": the file holding it and the file it names (both relative to
    // src/, e.g. "document/documentwindow.cpp" and "frame/mainwindow.h").
    struct Include
    {
        QString from;
        QString to;
        QString written; // the path as written between the quotes
    };

    QString m_src;
    QList<Include> m_includes;
    // The number of lines of each file, by its path relative to src/.
    QHash<QString, int> m_lines;
    // The component of each class a header defines ("frame/mainwindow" for MainWindow).
    QHash<QString, QString> m_classComponents;
    // For each source file, the classes whose members it defines ("MainWindow::startUp").
    QHash<QString, QSet<QString>> m_definedMembersOf;

    static QString component(const QString &file)
    {
        return file.left(file.lastIndexOf(QLatin1Char('.')));
    }

    // The folder a file belongs to for the layer order; files directly in src/ are the app's.
    static QString folderOf(const QString &file)
    {
        const qsizetype slash = file.indexOf(QLatin1Char('/'));
        return slash < 0 ? QStringLiteral("app") : file.left(slash);
    }

    // Higher layers may include lower ones; -1 for a folder outside the order.
    static int level(const QString &folder)
    {
        static const QHash<QString, int> levels = {
            {QStringLiteral("app"), 6},     {QStringLiteral("frame"), 5},
            {QStringLiteral("sidebar"), 4}, {QStringLiteral("options"), 4},
            {QStringLiteral("document"), 3}, {QStringLiteral("platform"), 2},
            {QStringLiteral("widgets"), 1}, {QStringLiteral("core"), 0}};
        return levels.value(folder, -1);
    }

    static QString describe(const Include &include)
    {
        return QStringLiteral("%1: #include \"%2\"").arg(include.from, include.written);
    }

    // Every loop among the rooms, once each (found from its first room in name order), as the
    // rooms along it and the include that makes each arrow.
    static QStringList roomLoops(const QMap<QString, QMap<QString, Include>> &reaches)
    {
        QStringList loops;
        QStringList path;
        const std::function<void(const QString &)> walk = [&](const QString &room) {
            for (auto it = reaches.value(room).cbegin(); it != reaches.value(room).cend(); ++it) {
                const QString &next = it.key();
                if (next == path.first()) {
                    QStringList arrows;
                    for (qsizetype i = 0; i < path.size(); ++i)
                        arrows << describe(reaches[path[i]][path.value(i + 1, path.first())]);
                    loops << QStringLiteral("a loop of rooms: %1 -> %2\n  %3")
                                 .arg(path.join(QStringLiteral(" -> ")), path.first(),
                                      arrows.join(QStringLiteral("\n  ")));
                } else if (next > path.first() && !path.contains(next)) {
                    path.append(next);
                    walk(next);
                    path.removeLast();
                }
            }
        };
        for (auto it = reaches.cbegin(); it != reaches.cend(); ++it) {
            path = {it.key()};
            walk(it.key());
        }
        return loops;
    }

    // The includes of one component into another, in the order they were read.
    QList<Include> includesBetween(const QString &from, const QString &to) const
    {
        QList<Include> found;
        for (const Include &include : m_includes) {
            if (component(include.from) == from && component(include.to) == to)
                found.append(include);
        }
        return found;
    }

    // Component graph without self edges (x.cpp including x.h).
    QMap<QString, QStringList> componentGraph() const
    {
        QMap<QString, QStringList> graph;
        for (const Include &include : m_includes) {
            const QString from = component(include.from);
            const QString to = component(include.to);
            graph[to];
            if (from != to && !graph[from].contains(to))
                graph[from].append(to);
        }
        for (QStringList &targets : graph)
            targets.sort();
        return graph;
    }

    // Strongly connected components with more than one member (Tarjan).
    static QList<QStringList> tangles(const QMap<QString, QStringList> &graph)
    {
        QHash<QString, int> index, low;
        QSet<QString> onStack;
        QStringList stack;
        QList<QStringList> result;
        int counter = 0;
        std::function<void(const QString &)> visit = [&](const QString &node) {
            index[node] = low[node] = counter++;
            stack.append(node);
            onStack.insert(node);
            for (const QString &next : graph.value(node)) {
                if (!index.contains(next)) {
                    visit(next);
                    low[node] = qMin(low[node], low[next]);
                } else if (onStack.contains(next)) {
                    low[node] = qMin(low[node], index[next]);
                }
            }
            if (low[node] != index[node])
                return;
            QStringList members;
            QString member;
            do {
                member = stack.takeLast();
                onStack.remove(member);
                members.append(member);
            } while (member != node);
            if (members.size() > 1) {
                members.sort();
                result.append(members);
            }
        };
        for (auto it = graph.cbegin(); it != graph.cend(); ++it) {
            if (!index.contains(it.key()))
                visit(it.key());
        }
        return result;
    }

    // The shortest path from one member to another (both ends included), through members only.
    static QStringList shortestPath(const QMap<QString, QStringList> &graph,
                                    const QStringList &members, const QString &from,
                                    const QString &to)
    {
        QHash<QString, QString> cameFrom{{from, from}};
        QStringList queue{from};
        for (qsizetype i = 0; i < queue.size(); ++i) {
            const QString node = queue.at(i);
            if (node == to) {
                QStringList path{to};
                while (path.first() != from)
                    path.prepend(cameFrom.value(path.first()));
                return path;
            }
            for (const QString &next : graph.value(node)) {
                if (members.contains(next) && !cameFrom.contains(next)) {
                    cameFrom.insert(next, node);
                    queue.append(next);
                }
            }
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        m_src = QDir::cleanPath(QStringLiteral(QUARVEL_SOURCE_DIR) + QStringLiteral("/src"));
        const QDir src(m_src);
        QVERIFY2(src.exists(), qPrintable(m_src));
        static const QRegularExpression includeLine(
            QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""));
        static const QRegularExpression classLine(QStringLiteral("^class (\\w+)\\b[^;]*$"));
        static const QRegularExpression memberDefinition(
            QStringLiteral("^(?!\\s)[\\w:<>,*& ]*?\\b(\\w+)::~?\\w+\\("));

        QStringList files;
        QDirIterator it(m_src, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(src.relativeFilePath(it.next()));
        files.sort();
        QVERIFY(files.size() > 20);

        for (const QString &file : std::as_const(files)) {
            QFile source(src.filePath(file));
            QVERIFY2(source.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(file));
            const QString folder = QFileInfo(file).path();
            int &lines = m_lines[file];
            const bool header = file.endsWith(QLatin1String(".h"));
            while (!source.atEnd()) {
                ++lines;
                const QString line = QString::fromUtf8(source.readLine());
                if (header) {
                    const QRegularExpressionMatch declared = classLine.match(line);
                    if (declared.hasMatch())
                        m_classComponents.insert(declared.captured(1), component(file));
                } else if (const QRegularExpressionMatch defined = memberDefinition.match(line);
                           defined.hasMatch()) {
                    m_definedMembersOf[file].insert(defined.captured(1));
                }
                const QRegularExpressionMatch match = includeLine.match(line);
                if (!match.hasMatch())
                    continue;
                const QString written = match.captured(1);
                // Beside the including file first, then from src/.
                QString target = QDir::cleanPath(folder + QLatin1Char('/') + written);
                if (!QFileInfo::exists(src.filePath(target)))
                    target = QDir::cleanPath(written);
                if (!QFileInfo::exists(src.filePath(target)) || target.startsWith(QLatin1String("..")))
                    continue; // not one of ours
                m_includes.append({file, target, written});
            }
        }
        QVERIFY(!m_includes.isEmpty());
    }

    // No class, header and source together, has more than a thousand lines: a class that
    // grows so far has parts with a job of their own, to be split off.
    void componentsStayUnderAThousandLines()
    {
        static constexpr int kLimit = 1000;
        QMap<QString, int> sizes;
        for (auto it = m_lines.cbegin(); it != m_lines.cend(); ++it) {
            // A source file without a header of its own that defines the members of one class
            // counts with that class.
            QString owner = component(it.key());
            if (!m_lines.contains(owner + QLatin1String(".h"))) {
                QStringList classes;
                for (const QString &name : m_definedMembersOf.value(it.key())) {
                    if (m_classComponents.contains(name))
                        classes.append(m_classComponents.value(name));
                }
                classes.removeDuplicates();
                if (classes.size() == 1)
                    owner = classes.first();
            }
            sizes[owner] += it.value();
        }
        QStringList tooLong;
        for (auto it = sizes.cbegin(); it != sizes.cend(); ++it) {
            if (it.value() > kLimit)
                tooLong.append(
                    QStringLiteral("%1: %2 lines in its header and sources, more than %3")
                        .arg(it.key())
                        .arg(it.value())
                        .arg(kLimit));
        }
        for (const QString &line : std::as_const(tooLong))
            qInfo().noquote() << line;
        QVERIFY2(tooLong.isEmpty(), "components over the limit, listed above");
    }

    // Every include points to a lower layer: app > frame > sidebar = options > document >
    // platform > widgets > core; folders on the same level do not include each other.
    void includesPointDown_data()
    {
        QTest::addColumn<QString>("folder");
        QStringList folders;
        for (const Include &include : std::as_const(m_includes)) {
            if (!folders.contains(folderOf(include.from)))
                folders.append(folderOf(include.from));
        }
        folders.sort();
        for (const QString &folder : std::as_const(folders))
            QTest::newRow(qPrintable(folder)) << folder;
    }

    void includesPointDown()
    {
        QFETCH(QString, folder);
        const int own = level(folder);
        QVERIFY2(own >= 0, qPrintable(QStringLiteral("src/%1 has no place in the layer order").arg(folder)));
        QStringList wrong;
        for (const Include &include : std::as_const(m_includes)) {
            if (folderOf(include.from) != folder)
                continue;
            const QString target = folderOf(include.to);
            if (target == folder)
                continue;
            const int other = level(target);
            if (other < 0 || other >= own)
                wrong.append(QStringLiteral("%1 (%2 may not include %3)")
                                 .arg(describe(include), folder, target));
        }
        for (const QString &line : std::as_const(wrong))
            qInfo().noquote() << line;
        QVERIFY2(wrong.isEmpty(), "includes pointing up, listed above");
    }

    // The frame's rooms (src/frame/<room>/) hold its parts by what they are for; the window's
    // own files, directly in src/frame, build on them. No room includes the window's own files,
    // and the rooms stand in one order: no room reaches itself through the others, by a loop of
    // any length (where two rooms must know each other, an interface of the lower one breaks the
    // loop). Each loop is reported with the includes along it.
    void frameRoomsStandInOneOrder()
    {
        const auto roomOf = [](const QString &file) {
            const QStringList parts = file.split(QLatin1Char('/'));
            if (parts.size() < 2 || parts.first() != QLatin1String("frame"))
                return QString();
            return parts.size() == 2 ? QStringLiteral("frame") : parts.at(1);
        };
        // Room to room, with the first include that makes each arrow.
        QMap<QString, QMap<QString, Include>> reaches;
        QStringList wrong;
        for (const Include &include : std::as_const(m_includes)) {
            const QString from = roomOf(include.from);
            const QString to = roomOf(include.to);
            if (from.isEmpty() || to.isEmpty() || from == to)
                continue;
            if (to == QLatin1String("frame"))
                wrong.append(describe(include) + QStringLiteral(" (a room includes the window's own files)"));
            else if (from != QLatin1String("frame") && !reaches[from].contains(to))
                reaches[from].insert(to, include);
        }
        QSet<QString> rooms;
        for (auto it = m_lines.cbegin(); it != m_lines.cend(); ++it) {
            const QString room = roomOf(it.key());
            if (!room.isEmpty() && room != QLatin1String("frame"))
                rooms.insert(room);
        }
        QVERIFY2(rooms.size() >= 4 && !reaches.isEmpty(), "the frame's rooms were not found");
        wrong += roomLoops(reaches);
        for (const QString &line : std::as_const(wrong))
            qInfo().noquote() << line;
        QVERIFY2(wrong.isEmpty(), "rooms of the frame that reach too far, listed above");
    }

    // No component reaches itself through the includes of others. Every include that closes a
    // circle is reported with the shortest circle it closes, and the includes along it.
    void noIncludeCircles()
    {
        const QMap<QString, QStringList> graph = componentGraph();
        QStringList report;
        QSet<QString> reported;
        for (const QStringList &members : tangles(graph)) {
            for (const QString &from : members) {
                for (const QString &to : graph.value(from)) {
                    if (!members.contains(to))
                        continue;
                    QStringList circle = shortestPath(graph, members, to, from);
                    // The same circle starting elsewhere is the same circle.
                    const qsizetype first =
                        circle.indexOf(*std::min_element(circle.cbegin(), circle.cend()));
                    circle = circle.mid(first) + circle.mid(0, first);
                    circle.append(circle.first());
                    const QString path = circle.join(QStringLiteral(" -> "));
                    if (reported.contains(path))
                        continue;
                    reported.insert(path);
                    report.append(QStringLiteral("include circle: ") + path);
                    for (qsizetype i = 0; i + 1 < circle.size(); ++i) {
                        for (const Include &include : includesBetween(circle.at(i), circle.at(i + 1)))
                            report.append(QStringLiteral("    ") + describe(include));
                    }
                }
            }
        }
        for (const QString &line : std::as_const(report))
            qInfo().noquote() << line;
        QVERIFY2(report.isEmpty(), "include circles, listed above");
    }
};

QTEST_APPLESS_MAIN(TestLayering)

#include "tst_layering.moc"
