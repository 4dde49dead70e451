// The real Quarvel binary on a real X display (tests/desktop/run.sh starts Xvfb and openbox),
// driven with X input the way a person drives it, against the local TestServer. Each scenario
// starts Quarvel (this build's, or $QUARVEL_DESKTOP_BINARY) in a throw-away home and saves a
// screenshot of its end in the build's desktop-screens folder (or $QUARVEL_DESKTOP_SCREENS).

#include "core/settingsstore.h"
#include "desktophome.h"
#include "quarvelprocess.h"
#include "testserver.h"
#include "xdriver.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QtTest>

#include <memory>

#include <csignal>
#include <sys/stat.h>

namespace {

// How long a person waits for a page, a dialog or a file before calling it broken.
constexpr int kResultMs = 10000;
// The first start of the engine in a new home.
constexpr int kStartMs = 20000;
// A person's typing speed.
constexpr int kTypingDelayMs = 100;

// Fails the test function with what was awaited when the condition does not hold in time; the
// message is built only then, so it shows the state at the end of the wait.
#define WAIT_UNTIL(condition, timeoutMs, what)                                                     \
    do {                                                                                           \
        if (!XDriver::waitUntil([&] { return bool(condition); }, timeoutMs))                       \
            QFAIL(qPrintable(                                                                      \
                QStringLiteral("Waited %1 s for %2").arg((timeoutMs) / 1000).arg(what)));          \
    } while (false)

// Runs a helper that reports failures through QTest, and ends the test function after one.
#define CHECKED(call)                                                                              \
    do {                                                                                           \
        call;                                                                                      \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

// What a screenshot of a print preview shows: the sheet (the tallest band of rows that are white
// over a fifth of their width, narrowed to the columns white over half of that band) and how
// white and how dark it is. A toolbar is near-white too, but it is a short band.
struct SheetInImage
{
    QRect sheet;
    double whiteShare = 0;
    int darkPixels = 0;

    bool showsPrintedPage(const QSize &imageSize) const
    {
        return sheet.height() * 4 >= imageSize.height() && sheet.width() * 7 >= imageSize.width() &&
               whiteShare >= 0.6 && darkPixels >= 150;
    }
    QString text() const
    {
        return QStringLiteral("sheet %1x%2 at %3,%4, %5% white, %6 dark pixels")
            .arg(sheet.width())
            .arg(sheet.height())
            .arg(sheet.x())
            .arg(sheet.y())
            .arg(int(whiteShare * 100))
            .arg(darkPixels);
    }

    static SheetInImage of(const QImage &source)
    {
        const QImage image = source.convertToFormat(QImage::Format_RGB32);
        const int w = image.width(), h = image.height();
        auto white = [](QRgb p) { return qRed(p) >= 245 && qGreen(p) >= 245 && qBlue(p) >= 245; };
        auto dark = [](QRgb p) { return qMax(qRed(p), qMax(qGreen(p), qBlue(p))) < 110; };
        auto pixel = [&image](int x, int y) {
            return reinterpret_cast<const QRgb *>(image.constScanLine(y))[x];
        };

        int top = 0, height = 0;
        for (int y = 0, runTop = -1; y < h; ++y) {
            int count = 0;
            for (int x = 0; x < w; ++x)
                count += white(pixel(x, y)) ? 1 : 0;
            runTop = count * 5 >= w ? (runTop < 0 ? y : runTop) : -1;
            if (runTop >= 0 && y - runTop + 1 > height) {
                top = runTop;
                height = y - runTop + 1;
            }
        }
        int left = -1, right = -1;
        for (int x = 0; x < w && height > 0; ++x) {
            int count = 0;
            for (int y = top; y < top + height; ++y)
                count += white(pixel(x, y)) ? 1 : 0;
            if (count * 2 >= height) {
                left = left < 0 ? x : left;
                right = x;
            }
        }
        SheetInImage result;
        if (left < 0)
            return result;
        result.sheet = QRect(left, top, right - left + 1, height);
        qint64 whiteCount = 0;
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x <= right; ++x) {
                whiteCount += white(pixel(x, y)) ? 1 : 0;
                result.darkPixels += dark(pixel(x, y)) ? 1 : 0;
            }
        }
        result.whiteShare = double(whiteCount) / (qint64(result.sheet.width()) * height);
        return result;
    }
};

QString fileListing(const QString &folder)
{
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    return names.isEmpty() ? QStringLiteral("(empty)") : names.join(QStringLiteral(", "));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Values a scenario writes over the seeded settings: "Section/Key" to value.
using SettingsChanges = QMap<QString, QString>;

// An X server of a scenario's own (no window manager), on a free display number Xvfb picks,
// that can go away under Quarvel. DISPLAY names it while the object lives.
class PrivateDisplay
{
public:
    PrivateDisplay() : m_shared(qgetenv("DISPLAY"))
    {
        // On a number nobody uses, beside the tier's own display (tests/desktop/xvfb-display.sh).
        m_server.setProcessChannelMode(QProcess::SeparateChannels);
        m_server.start(QStringLiteral(QUARVEL_XVFB_DISPLAY),
                       {QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24")});
        QByteArray number;
        XDriver::waitUntil(
            [&] {
                m_server.waitForReadyRead(100);
                number += m_server.readAllStandardOutput();
                return number.contains('\n') || m_server.state() == QProcess::NotRunning;
            },
            kResultMs);
        m_number = number.trimmed();
        if (isValid())
            qputenv("DISPLAY", ':' + m_number);
    }
    ~PrivateDisplay()
    {
        qputenv("DISPLAY", m_shared);
        m_server.terminate(); // the script stops its server and gives the number back
        if (!m_server.waitForFinished(kResultMs))
            m_server.kill();
        m_server.waitForFinished(kResultMs);
    }
    PrivateDisplay(const PrivateDisplay &) = delete;
    PrivateDisplay &operator=(const PrivateDisplay &) = delete;

    bool isValid() const
    {
        return !m_number.isEmpty() && m_server.state() == QProcess::Running;
    }
    // The display goes, as when its server ends under the programs on it.
    bool end()
    {
        m_server.terminate();
        return m_server.waitForFinished(kResultMs);
    }

private:
    QByteArray m_shared;
    QProcess m_server;
    QByteArray m_number;
};

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void typedAddress_data();
    void typedAddress();
    void pageKeys();
    void download();
    void printPreview();
    void tabs();
    void endedBySignal_data();
    void endedBySignal();
    void endedByDisplayLoss();
    void endedWithAQuestionOpen_data();
    void endedWithAQuestionOpen();
    void pipeAsAddress_data();
    void pipeAsAddress();
    void menuKeysWithSidebar();
    void unopenableAddress_data();
    void unopenableAddress();
    void coveredArticleKeepsItsPlace();
    void openingTabs();
    void layoutPipe();

private:
    // Starts Quarvel on the home's settings as they are, and waits for the start-up question
    // named to show.
    void startAtQuestion(const QString &question);
    // Seeds the home, starts Quarvel on the server's path and waits for its frame to show that
    // page's title and for the page to be drawn; home page 1 is /page/9.
    void startAt(const QString &path, const QString &pageTitle);
    // Whether the frame's title names the page ("Quarvel v2.7 - [Local page 2]").
    bool shows(const QString &pageTitle) const;
    bool showsPage(int page) const { return shows(TestServer::pageTitle(page)); }
    QString state() const;
    // Activates the frame and presses the keys there.
    void pressInFrame(const QStringList &keys);
    void clickInPage();
    void typeAddress(const QString &text);
    // A later start on the server's path, as a person opening a link in another program: it
    // hands the address to the running frame and ends.
    void handOver(const QString &path);
    // Alt+F4 ends Quarvel, which keeps its open pages: so many, the last one on the path.
    void closeKeepingTabs(int count, const QString &lastPath);
    QString screenFile(const QString &suffix = QString()) const;
    // The menu popup that opens on the keys pressed in the frame, and closes again on Esc.
    void openMenu(const QStringList &keys, QString *popup);
    void closeMenu(const QString &popup);

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<DesktopHome> m_home;
    std::unique_ptr<QuarvelProcess> m_quarvel;
    QString m_binary;
    QString m_screens;
};

void TestDesktop::initTestCase()
{
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"),
             "No X display: run this program through tests/desktop/run.sh, which starts Xvfb and "
             "openbox");
    const QStringList missing = XDriver::missingTools();
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("Missing tools: ") + missing.join(u' ')));
    m_binary = qEnvironmentVariable("QUARVEL_DESKTOP_BINARY", QStringLiteral(QUARVEL_BINARY));
    QVERIFY2(QFileInfo(m_binary).isExecutable(),
             qPrintable(m_binary + QStringLiteral(" is not built")));
    m_server = std::make_unique<TestServer>();
    m_screens =
        qEnvironmentVariable("QUARVEL_DESKTOP_SCREENS", QStringLiteral(QUARVEL_DESKTOP_SCREENS));
    QVERIFY(QDir().mkpath(m_screens));
}

void TestDesktop::init()
{
    // A screenshot an earlier run left would pass for one of this run.
    const QString base = QFileInfo(screenFile()).completeBaseName();
    QDir screens(m_screens);
    for (const QString &old : screens.entryList(
             {base + QStringLiteral(".png"), base + QStringLiteral("-*.png")}, QDir::Files))
        screens.remove(old);
    m_home = std::make_unique<DesktopHome>();
    QVERIFY2(m_home->isValid(), "Cannot make a temporary home");
}

void TestDesktop::cleanup()
{
    if (m_quarvel && m_quarvel->isRunning())
        XDriver::screenshot(QStringLiteral("root"), screenFile());
    if (m_quarvel && QTest::currentTestFailed()) {
        const QString tail = m_quarvel->errorTail();
        if (!tail.isEmpty())
            qInfo("Quarvel's last words:\n%s", qPrintable(tail));
    }
    m_quarvel.reset();
    m_home.reset();
}

void TestDesktop::startAt(const QString &path, const QString &pageTitle)
{
    QVERIFY2(m_home->seedSettings(m_server->url(QStringLiteral("/page/9"))),
             "Cannot seed the settings");
    const qsizetype mark = m_server->mark();
    m_quarvel = std::make_unique<QuarvelProcess>(m_binary, *m_home);
    QVERIFY2(m_quarvel->start({m_server->url(path)}), "Quarvel did not start");
    WAIT_UNTIL(!m_quarvel->frameWindow().isEmpty() || !m_quarvel->isRunning(), kStartMs,
               QStringLiteral("the frame's window; windows: ") + m_quarvel->windowsText());
    QVERIFY2(m_quarvel->isRunning(),
             qPrintable(QStringLiteral("Quarvel ended at its start:\n") + m_quarvel->errorTail()));
    WAIT_UNTIL(shows(pageTitle), kResultMs,
               QStringLiteral("the start page %1 in the title; %2").arg(path, state()));
    // A person clicks once the page is on the screen, not when its title is: the engine may not
    // take a click before the page's first frame.
    WAIT_UNTIL(m_server->targets(mark).contains(QStringLiteral("/drawn?") + path), kResultMs,
               QStringLiteral("the start page %1 drawn; %2").arg(path, state()));
}

bool TestDesktop::shows(const QString &pageTitle) const
{
    return m_quarvel->title().endsWith(u'[' + pageTitle + u']');
}

QString TestDesktop::state() const
{
    return QStringLiteral("title '%1', windows: %2, requests: %3")
        .arg(m_quarvel->title(), m_quarvel->windowsText(), m_server->logText());
}

void TestDesktop::pressInFrame(const QStringList &keys)
{
    const QString frame = m_quarvel->frameWindow();
    QVERIFY2(!frame.isEmpty(), qPrintable(QStringLiteral("No frame window; ") + state()));
    QVERIFY2(XDriver::activate(frame), "The window manager did not activate the frame");
    QVERIFY2(XDriver::key(keys),
             qPrintable(QStringLiteral("xdotool could not press ") + keys.join(u' ')));
}

void TestDesktop::clickInPage()
{
    // The pages' link covers their whole viewport; the middle of the lower half of the frame is
    // always page, whatever bars are above, beside or below it.
    const QString frame = m_quarvel->frameWindow();
    QVERIFY2(!frame.isEmpty(), qPrintable(QStringLiteral("No frame window; ") + state()));
    QVERIFY(XDriver::activate(frame));
    const QRect rect = XDriver::windowGeometry(frame);
    QVERIFY2(
        XDriver::click(QPoint(rect.x() + rect.width() * 6 / 10, rect.y() + rect.height() * 6 / 10)),
        "xdotool could not click");
}

void TestDesktop::typeAddress(const QString &text)
{
    CHECKED(pressInFrame({QStringLiteral("alt+d")}));
    QTest::qWait(kTypingDelayMs); // a person's pause between the shortcut and the first key
    QVERIFY2(XDriver::type(text, kTypingDelayMs), "xdotool could not type");
    QVERIFY(XDriver::key({QStringLiteral("Return")}));
}

void TestDesktop::handOver(const QString &path)
{
    QProcess later;
    later.setProcessEnvironment(m_home->environment(QProcessEnvironment::systemEnvironment()));
    later.start(m_binary, {m_server->url(path)});
    // The server answers the running frame meanwhile.
    WAIT_UNTIL(later.state() == QProcess::NotRunning, kStartMs,
               QStringLiteral("the later start on %1 to end").arg(path));
    QCOMPARE(later.exitStatus(), QProcess::NormalExit);
    QVERIFY2(later.exitCode() == 0, later.readAllStandardError().constData());
}

void TestDesktop::closeKeepingTabs(int count, const QString &lastPath)
{
    QVERIFY2(m_quarvel->closeFrame(kResultMs),
             qPrintable(QStringLiteral("Quarvel did not end on Alt+F4; ") + state()));
    QCOMPARE(m_home->setting(QStringLiteral("Settings"), QStringLiteral("DocumentCount")),
             QString::number(count));
    QVERIFY(m_home->setting(QStringLiteral("Settings"), QStringLiteral("Document%1").arg(count))
                .endsWith(lastPath));
}

QString TestDesktop::screenFile(const QString &suffix) const
{
    QString name = QString::fromLatin1(QTest::currentTestFunction());
    if (QTest::currentDataTag())
        name +=
            u'-' + QString::fromLatin1(QTest::currentDataTag())
                       .replace(QRegularExpression(QStringLiteral("\\W+")), QStringLiteral("-"));
    if (!suffix.isEmpty())
        name += u'-' + suffix;
    return m_screens + u'/' + name + QStringLiteral(".png");
}

// ---------------------------------------------------------------- scenarios

void TestDesktop::typedAddress_data()
{
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<int>("page");
    // The history offers pages 1, 2, 12 and 52 of the server while the host, the port and
    // "/page/" are typed; the "3" matches none of them, and the field must keep every key typed
    // after that.
    QTest::newRow("full address") << QStringLiteral("http://") << 345;
    QTest::newRow("host and port") << QString() << 3;
}

void TestDesktop::typedAddress()
{
    QFETCH(QString, scheme);
    QFETCH(int, page);
    QList<DesktopHome::Visit> visits;
    for (int visited : {1, 2, 12, 52})
        visits.append({m_server->url(QStringLiteral("/page/%1").arg(visited)),
                       TestServer::pageTitle(visited)});
    QVERIFY2(m_home->seedHistory(visits), "Cannot seed the history");
    CHECKED(startAt(QStringLiteral("/page/20"), TestServer::pageTitle(20)));

    const QString path = QStringLiteral("/page/%1").arg(page);
    const QString typed =
        scheme + QStringLiteral("127.0.0.1:") + QString::number(m_server->serverPort()) + path;
    const qsizetype mark = m_server->mark();
    CHECKED(typeAddress(typed));
    WAIT_UNTIL(m_server->countSince(mark, path) > 0, kResultMs,
               QStringLiteral("a request of %1 after typing '%2' and Enter; %3")
                   .arg(path, typed,
                        QStringLiteral("title '%1', requests since: %2")
                            .arg(m_quarvel->title(), m_server->logText(mark))));
    WAIT_UNTIL(showsPage(page), kResultMs,
               QStringLiteral("the title of %1 after typing '%2'; %3").arg(path, typed, state()));
    const QStringList paths = m_server->pathsSince(mark);
    QVERIFY2(
        paths.count(path) == paths.size(),
        qPrintable(QStringLiteral("Other pages were asked for too: ") + m_server->logText(mark)));
}

void TestDesktop::pageKeys()
{
    CHECKED(startAt(QStringLiteral("/page/1"), TestServer::pageTitle(1)));
    CHECKED(clickInPage());
    WAIT_UNTIL(showsPage(2), kResultMs,
               QStringLiteral("page 2 after a click on page 1's link; ") + state());

    // Each key is tried and reported on its own, so one run tells which of them work.
    QStringList failures;
    auto reloads = [&](const QString &key) {
        const qsizetype mark = m_server->mark();
        CHECKED(pressInFrame({key}));
        if (!XDriver::waitUntil(
                [&] { return m_server->countSince(mark, QStringLiteral("/page/2")) > 0; },
                kResultMs))
            failures.append(
                QStringLiteral("%1 did not ask the server for /page/2 again (requests since: %2)")
                    .arg(key, m_server->logText(mark)));
        XDriver::waitUntil([&] { return showsPage(2); }, kResultMs);
    };
    CHECKED(reloads(QStringLiteral("F5")));
    CHECKED(reloads(QStringLiteral("ctrl+r")));

    CHECKED(pressInFrame({QStringLiteral("alt+Left")}));
    if (!XDriver::waitUntil([&] { return showsPage(1); }, kResultMs)) {
        failures.append(
            QStringLiteral("Alt+Left did not go back to page 1 (title '%1'); Alt+Right not tried")
                .arg(m_quarvel->title()));
    } else {
        CHECKED(pressInFrame({QStringLiteral("alt+Right")}));
        if (!XDriver::waitUntil([&] { return showsPage(2); }, kResultMs))
            failures.append(QStringLiteral("Alt+Right did not go forward to page 2 (title '%1')")
                                .arg(m_quarvel->title()));
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral("; "))));
}

void TestDesktop::download()
{
    CHECKED(startAt(QStringLiteral("/download"), QStringLiteral("Download page")));
    const qsizetype mark = m_server->mark();
    CHECKED(clickInPage());
    // The save dialog is the window of Quarvel's that takes the focus, so Enter goes to it.
    WAIT_UNTIL(m_quarvel->otherWindows().contains(XDriver::activeWindow()), kResultMs,
               QStringLiteral("a save dialog with the focus after a click on the link to data.zip; "
                              "requests since: %1; windows: %2; files in Downloads: %3")
                   .arg(m_server->logText(mark), m_quarvel->windowsText(),
                        fileListing(m_home->downloadFolder())));
    XDriver::screenshot(QStringLiteral("root"), screenFile(QStringLiteral("dialog")));
    QVERIFY(XDriver::key({QStringLiteral("Return")}));

    const QString target = m_home->downloadFolder() + QStringLiteral("/data.zip");
    WAIT_UNTIL(fileBytes(target) == TestServer::dataZip(), kResultMs,
               QStringLiteral(
                   "%1 with the served %2 bytes (it has %3); files in Downloads: %4; windows: %5")
                   .arg(target)
                   .arg(TestServer::dataZip().size())
                   .arg(QFileInfo(target).size())
                   .arg(fileListing(m_home->downloadFolder()), m_quarvel->windowsText()));
    WAIT_UNTIL(QDir(m_home->downloadFolder())
                       .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot) ==
                   QStringList{QStringLiteral("data.zip")},
               kResultMs,
               QStringLiteral("data.zip alone in Downloads, no partial file; there are: ") +
                   fileListing(m_home->downloadFolder()));
}

void TestDesktop::printPreview()
{
    CHECKED(startAt(QStringLiteral("/page/1"), TestServer::pageTitle(1)));
    // File > Print Preview with the keyboard, the focus in the page: Alt+F opens the File menu,
    // "v" is Print Preview's mnemonic ("Print Pre&view").
    CHECKED(pressInFrame({QStringLiteral("alt+f"), QStringLiteral("v")}));

    auto previews = [this] {
        QStringList found;
        for (const QString &window : m_quarvel->otherWindows()) {
            if (XDriver::windowName(window).contains(QLatin1String("Preview"), Qt::CaseInsensitive))
                found.append(window);
        }
        return found;
    };
    QStringList seen;
    WAIT_UNTIL(!(seen = previews()).isEmpty(), kResultMs,
               QStringLiteral("a print preview window; windows: ") + m_quarvel->windowsText());

    // The preview draws the page once the engine has printed it: wait for a sheet with text.
    const QString shot = screenFile(QStringLiteral("preview"));
    SheetInImage sheet;
    QSize shotSize;
    WAIT_UNTIL(
        ([&] {
            const QStringList now = previews();
            for (const QString &window : now) {
                if (!seen.contains(window))
                    seen.append(window);
            }
            if (now.isEmpty() || !XDriver::screenshot(now.first(), shot))
                return false;
            const QImage image(shot);
            shotSize = image.size();
            sheet = SheetInImage::of(image);
            return sheet.showsPrintedPage(shotSize);
        }()),
        kResultMs,
        QStringLiteral(
            "the preview to show the printed page (a white sheet a quarter of the window high "
            "or more, with dark text); last look, %1x%2: %3")
            .arg(shotSize.width())
            .arg(shotSize.height())
            .arg(sheet.text()));
    const QStringList now = previews();
    QVERIFY2(seen.size() == 1 && now.size() == 1,
             qPrintable(QStringLiteral("More than one preview window: %1 seen, %2 open now (%3)")
                            .arg(seen.size())
                            .arg(now.size())
                            .arg(m_quarvel->windowsText())));
    QVERIFY(XDriver::activate(now.first()));
    QVERIFY(XDriver::key({QStringLiteral("Escape")}));
    WAIT_UNTIL(previews().isEmpty(), kResultMs,
               QStringLiteral("the preview to close on Esc; windows: ") + m_quarvel->windowsText());
}

void TestDesktop::tabs()
{
    CHECKED(startAt(QStringLiteral("/page/1"), TestServer::pageTitle(1)));
    CHECKED(pressInFrame({QStringLiteral("ctrl+n")}));
    WAIT_UNTIL(showsPage(9), kResultMs,
               QStringLiteral("a new tab on home page /page/9 after Ctrl+N; ") + state());
    CHECKED(pressInFrame({QStringLiteral("ctrl+Tab")}));
    WAIT_UNTIL(showsPage(1), kResultMs,
               QStringLiteral("the first tab (page 1) after Ctrl+Tab; ") + state());
    CHECKED(pressInFrame({QStringLiteral("ctrl+F4")}));
    WAIT_UNTIL(showsPage(9), kResultMs,
               QStringLiteral("the tab of page 9 after Ctrl+F4 closed page 1's; ") + state());

    // "localhost" matches nothing the history offers: the address goes in as typed.
    const QString typed = QStringLiteral("localhost:%1/page/4").arg(m_server->serverPort());
    const qsizetype mark = m_server->mark();
    CHECKED(typeAddress(typed));
    WAIT_UNTIL(m_server->countSince(mark, QStringLiteral("/page/4")) > 0 && showsPage(4), kResultMs,
               QStringLiteral("page 4 after Alt+D and typing '%1'; %2").arg(typed, state()));

    // The pages open at exit are saved: one tab is left.
    XDriver::screenshot(QStringLiteral("root"), screenFile());
    CHECKED(closeKeepingTabs(1, QStringLiteral("/page/4")));
}

void TestDesktop::endedBySignal_data()
{
    QTest::addColumn<bool>("withDialog");
    QTest::newRow("frame") << false;
    // A modal dialog's own event loop runs when the signal comes: the close still runs.
    QTest::newRow("Open dialog open") << true;
}

void TestDesktop::endedBySignal()
{
    QFETCH(bool, withDialog);
    CHECKED(startAt(QStringLiteral("/page/1"), TestServer::pageTitle(1)));
    // The quick notes are the side bar's first section, open at the frame's left edge: a click
    // in them lets them take keys.
    const QString frame = m_quarvel->frameWindow();
    const QRect rect = XDriver::windowGeometry(frame);
    QVERIFY(XDriver::activate(frame));
    QVERIFY2(XDriver::click(QPoint(rect.x() + 40, rect.y() + rect.height() / 2)),
             "xdotool could not click");
    const QString note = QStringLiteral("milk and bread");
    QVERIFY2(XDriver::type(note, kTypingDelayMs), "xdotool could not type");
    if (withDialog) {
        CHECKED(pressInFrame({QStringLiteral("ctrl+o")}));
        WAIT_UNTIL(!m_quarvel->otherWindows().isEmpty(), kResultMs,
                   QStringLiteral("the Open dialog after Ctrl+O; ") + state());
    }
    XDriver::screenshot(QStringLiteral("root"), screenFile(QStringLiteral("typed")));

    // What log-out and kill send: the program closes as its own close does, asking nothing,
    // and is gone within a few seconds.
    QCOMPARE(::kill(pid_t(m_quarvel->pid()), SIGTERM), 0);
    WAIT_UNTIL(!m_quarvel->isRunning(), 5000,
               QStringLiteral("Quarvel to end after SIGTERM; ") + state());
    const QString notesFile = m_home->filePath(QStringLiteral("data/Quarvel/notes.qvr"));
    QVERIFY2(QString::fromUtf8(fileBytes(notesFile)).contains(note),
             qPrintable(QStringLiteral("The notes file holds '%1'")
                            .arg(QString::fromUtf8(fileBytes(notesFile)))));
    QCOMPARE(m_home->setting(QStringLiteral("Settings"), QStringLiteral("PrevSessionCrashed")),
             QStringLiteral("False"));
    QCOMPARE(m_home->setting(QStringLiteral("Settings"), QStringLiteral("DocumentCount")),
             QStringLiteral("1"));

    // The next start is a clean one: no crash notice holds up its load, which opens the page
    // saved at the end.
    m_quarvel = std::make_unique<QuarvelProcess>(m_binary, *m_home);
    QVERIFY2(m_quarvel->start({}), "Quarvel did not start again");
    WAIT_UNTIL(showsPage(1) || !m_quarvel->isRunning(), kStartMs,
               QStringLiteral("the next start on the saved page 1; ") + state());
    QVERIFY2(m_quarvel->otherWindows().isEmpty(),
             qPrintable(QStringLiteral("The next start showed more than its frame; ") + state()));
}

void TestDesktop::endedByDisplayLoss()
{
    // An X server of this scenario's own, which goes away under Quarvel.
    PrivateDisplay display;
    QVERIFY2(display.isValid(), "Xvfb did not give a display of its own");

    CHECKED(startAt(QStringLiteral("/page/1"), TestServer::pageTitle(1)));
    // Without a window manager the keys go to the window under the pointer.
    const QRect rect = XDriver::windowGeometry(m_quarvel->frameWindow());
    QVERIFY2(XDriver::click(QPoint(rect.x() + 40, rect.y() + rect.height() / 2)),
             "xdotool could not click");
    const QString note = QStringLiteral("display gone");
    QVERIFY2(XDriver::type(note, kTypingDelayMs), "xdotool could not type");
    const QString notesFile = m_home->filePath(QStringLiteral("data/Quarvel/notes.qvr"));
    XDriver::screenshot(QStringLiteral("root"), screenFile(QStringLiteral("typed")));

    QVERIFY(display.end());
    WAIT_UNTIL(!m_quarvel->isRunning(), 5000,
               QStringLiteral("Quarvel to end when its display went"));
    QVERIFY2(!m_quarvel->crashed(), "Quarvel crashed when its display went");
    QVERIFY2(QString::fromUtf8(fileBytes(notesFile)).contains(note),
             qPrintable(QStringLiteral("The notes file holds '%1'")
                            .arg(QString::fromUtf8(fileBytes(notesFile)))));
    QCOMPARE(m_home->setting(QStringLiteral("Settings"), QStringLiteral("PrevSessionCrashed")),
             QStringLiteral("False"));
}

void TestDesktop::startAtQuestion(const QString &question)
{
    m_quarvel = std::make_unique<QuarvelProcess>(m_binary, *m_home);
    QVERIFY2(m_quarvel->start({}), "Quarvel did not start");
    const auto asked = [&] {
        for (const QString &window : m_quarvel->otherWindows()) {
            if (XDriver::windowName(window) == question)
                return true;
        }
        return false;
    };
    WAIT_UNTIL(asked() || !m_quarvel->isRunning(), kStartMs,
               QStringLiteral("the question '%1'; windows: %2")
                   .arg(question, m_quarvel->windowsText()));
    QVERIFY2(m_quarvel->isRunning(),
             qPrintable(QStringLiteral("Quarvel ended at its start:\n") + m_quarvel->errorTail()));
}

void TestDesktop::endedWithAQuestionOpen_data()
{
    QTest::addColumn<QString>("question");
    QTest::addColumn<SettingsChanges>("settings");
    QTest::addColumn<bool>("displayGoes");
    QTest::addColumn<QByteArray>("layout");
    const SettingsChanges crashed{{"Settings/PrevSessionCrashed", "True"}};
    const SettingsChanges restore{{"General/LoadAction", "2"},
                                         {"Settings/DocumentCount", "1"},
                                         {"Settings/Document1", m_server->url("/page/2")}};
    const SettingsChanges defaultBrowser{{"General/CheckIfDefault", "True"}};
    for (const bool displayGoes : {false, true}) {
        const char *how = displayGoes ? "display gone" : "SIGTERM";
        QTest::addRow("crash notice, %s", how) << "Warning!" << crashed << displayGoes << QByteArray();
        QTest::addRow("restore question, %s", how)
            << "Load Saved Documents" << restore << displayGoes << QByteArray();
        QTest::addRow("default-browser question, %s", how)
            << "Association Checking..." << defaultBrowser << displayGoes << QByteArray();
        // A toolbar layout that is not text: the notice that it was set aside.
        QTest::addRow("unusable-file notice, %s", how)
            << "Quarvel" << SettingsChanges() << displayGoes << QByteArray("\xff\xfe<\0b\0>\0", 8);
    }
}

void TestDesktop::endedWithAQuestionOpen()
{
    QFETCH(QString, question);
    QFETCH(SettingsChanges, settings);
    QFETCH(bool, displayGoes);
    QFETCH(QByteArray, layout);
    const QString layoutFile = m_home->filePath(QStringLiteral("data/Quarvel/layout.xml"));
    if (!layout.isEmpty()) {
        QFile file(layoutFile);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(layout) == layout.size());
    }
    std::unique_ptr<PrivateDisplay> display;
    if (displayGoes) {
        display = std::make_unique<PrivateDisplay>();
        QVERIFY2(display->isValid(), "Xvfb did not give a display of its own");
    }
    QVERIFY2(m_home->seedSettings(m_server->url(QStringLiteral("/page/9"))),
             "Cannot seed the settings");
    {
        SettingsStore store(m_home->settingsFile());
        for (auto it = settings.cbegin(); it != settings.cend(); ++it)
            store.write(it.key().section(u'/', 0, 0), it.key().section(u'/', 1), it.value());
    }
    const QByteArray before = fileBytes(m_home->settingsFile());
    CHECKED(startAtQuestion(question));
    XDriver::screenshot(QStringLiteral("root"), screenFile(QStringLiteral("asked")));

    // Ended with the question unanswered: gone within about a second, no crash, and the start
    // has kept nothing.
    if (displayGoes)
        QVERIFY(display->end());
    else
        QCOMPARE(::kill(pid_t(m_quarvel->pid()), SIGTERM), 0);
    WAIT_UNTIL(!m_quarvel->isRunning(), 2000,
               QStringLiteral("Quarvel to end with '%1' open; %2").arg(question, state()));
    QVERIFY2(!m_quarvel->crashed(), "Quarvel crashed");
    QCOMPARE(m_quarvel->exitCode(), displayGoes ? 1 : 128 + SIGTERM);
    QCOMPARE(fileBytes(m_home->settingsFile()), before);
    if (!layout.isEmpty()) {
        QCOMPARE(fileBytes(layoutFile), layout);
        QCOMPARE(QFileInfo(layoutFile).dir().entryList({QStringLiteral("layout.xml.*")}),
                 QStringList());
    }
    display.reset();

    // The next start is the one this start would have been: the same question, and a crash
    // notice only where one was still unanswered.
    CHECKED(startAtQuestion(question));
    QVERIFY2(m_quarvel->frameWindow().isEmpty(), "The frame showed before the question was answered");
}

void TestDesktop::pipeAsAddress_data()
{
    QTest::addColumn<bool>("typed");
    QTest::newRow("command line") << false;
    QTest::newRow("typed") << true;
}

void TestDesktop::pipeAsAddress()
{
    QFETCH(bool, typed);
    const QString pipe = m_home->filePath(QStringLiteral("a-pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString address = QUrl::fromLocalFile(pipe).toString();
    if (typed) {
        // With the engine's error page, which names what could not be opened.
        {
            SettingsStore store(m_home->settingsFile());
            store.write(QStringLiteral("Content"), QStringLiteral("SuppressErrors"),
                        QStringLiteral("False"));
        }
        CHECKED(startAt(QStringLiteral("/page/1"), TestServer::pageTitle(1)));
        CHECKED(typeAddress(address));
    } else {
        QVERIFY(m_home->seedSettings(m_server->url(QStringLiteral("/page/9"))));
        m_quarvel = std::make_unique<QuarvelProcess>(m_binary, *m_home);
        QVERIFY2(m_quarvel->start({address}), "Quarvel did not start");
    }
    // The pipe's tab keeps its name, and the engine goes on: the next address opens.
    WAIT_UNTIL(shows(address), kStartMs, QStringLiteral("the pipe's tab; ") + state());
    XDriver::screenshot(QStringLiteral("root"), screenFile(QStringLiteral("pipe")));
    CHECKED(typeAddress(m_server->url(QStringLiteral("/page/2"))));
    WAIT_UNTIL(showsPage(2), kResultMs, QStringLiteral("page 2 after the pipe; ") + state());

    // Closed, the program is gone, and the next start is the only one.
    QVERIFY2(m_quarvel->closeFrame(kResultMs),
             qPrintable(QStringLiteral("Quarvel did not end after its close; ") + state()));
    QVERIFY(!m_quarvel->crashed());
    m_quarvel = std::make_unique<QuarvelProcess>(m_binary, *m_home);
    QVERIFY2(m_quarvel->start({m_server->url(QStringLiteral("/page/3"))}), "Quarvel did not start");
    WAIT_UNTIL(showsPage(3) || !m_quarvel->isRunning(), kStartMs,
               QStringLiteral("the next start on page 3; ") + state());
    QVERIFY2(m_quarvel->isRunning(), "The next start did not stay");
}

void TestDesktop::openMenu(const QStringList &keys, QString *popup)
{
    const QStringList before = m_quarvel->otherWindows();
    CHECKED(pressInFrame(keys));
    const auto opened = [&] {
        for (const QString &window : m_quarvel->otherWindows()) {
            if (!before.contains(window)) {
                *popup = window;
                return true;
            }
        }
        return false;
    };
    WAIT_UNTIL(opened(), kResultMs,
               QStringLiteral("a menu on %1; windows: %2").arg(keys.join(u' '), m_quarvel->windowsText()));
}

void TestDesktop::closeMenu(const QString &popup)
{
    QVERIFY(XDriver::key({QStringLiteral("Escape")}));
    WAIT_UNTIL(!m_quarvel->otherWindows().contains(popup), kResultMs,
               QStringLiteral("the menu to close on Esc; windows: ") + m_quarvel->windowsText());
}

void TestDesktop::menuKeysWithSidebar()
{
    // The side bar shows (as it does by default); its sections are named as the View menu's
    // Favorites and History items are, but the letters stay with the menu bar.
    CHECKED(startAt(QStringLiteral("/page/1"), TestServer::pageTitle(1)));
    const QRect frame = XDriver::windowGeometry(m_quarvel->frameWindow());
    // Each menu opens below its own title, left to right in the order of the menu bar.
    const QStringList letters = {QStringLiteral("f"), QStringLiteral("e"), QStringLiteral("v"),
                                 QStringLiteral("n"), QStringLiteral("c"), QStringLiteral("w"),
                                 QStringLiteral("h")};
    QList<int> lefts;
    QStringList failures;
    for (const QString &letter : letters) {
        int left = -1;
        for (int press = 1; press <= 3; ++press) {
            QString popup;
            CHECKED(openMenu({QStringLiteral("alt+") + letter}, &popup));
            const QRect rect = XDriver::windowGeometry(popup);
            if (press == 1 && letter == QLatin1String("f"))
                XDriver::screenshot(QStringLiteral("root"), screenFile(QStringLiteral("file")));
            if (rect.top() < frame.top() || rect.top() > frame.top() + frame.height() / 3)
                failures << QStringLiteral("Alt+%1 press %2 opened a window at %3,%4, not a menu "
                                           "below the menu bar")
                                .arg(letter).arg(press).arg(rect.x()).arg(rect.y());
            if (left < 0)
                left = rect.x();
            else if (rect.x() != left)
                failures << QStringLiteral("Alt+%1 press %2 opened the menu at x %3, press 1 at %4")
                                .arg(letter).arg(press).arg(rect.x()).arg(left);
            CHECKED(closeMenu(popup));
        }
        lefts << left;
    }
    for (qsizetype i = 1; i < lefts.size(); ++i) {
        if (lefts[i] <= lefts[i - 1])
            failures << QStringLiteral("Alt+%1 opened its menu at x %2, left of Alt+%3's at %4")
                            .arg(letters[i]).arg(lefts[i]).arg(letters[i - 1]).arg(lefts[i - 1]);
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral("; "))));
}

void TestDesktop::unopenableAddress_data()
{
    QTest::addColumn<bool>("suppressErrors");
    QTest::newRow("error page") << false;
    QTest::newRow("errors suppressed") << true; // as the settings have it at first
}

void TestDesktop::unopenableAddress()
{
    QFETCH(bool, suppressErrors);
    {
        SettingsStore store(m_home->settingsFile());
        store.write(QStringLiteral("Content"), QStringLiteral("SuppressErrors"),
                    suppressErrors ? QStringLiteral("True") : QStringLiteral("False"));
    }
    CHECKED(startAt(QStringLiteral("/page/1"), TestServer::pageTitle(1)));
    quint16 closedPort = 0;
    {
        QTcpServer closed; // a port nobody listens on once it is closed
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        closedPort = closed.serverPort();
    }
    const QString host = QStringLiteral("127.0.0.1:%1").arg(closedPort);
    const QString typed = host + QStringLiteral("/page/5");
    CHECKED(typeAddress(typed));
    // The engine's error page names the host; without it the page stays as it was, and so
    // does its name. Either way the frame's caption keeps a page's name.
    const QString name = suppressErrors ? TestServer::pageTitle(1) : QStringLiteral("127.0.0.1");
    WAIT_UNTIL(shows(name), kResultMs,
               QStringLiteral("'%1' in the title after '%2'; %3").arg(name, typed, state()));
    XDriver::screenshot(QStringLiteral("root"), screenFile(QStringLiteral("failed")));

    // The Window menu lists the tab by a name: the last row holds text.
    QString popup;
    CHECKED(openMenu({QStringLiteral("alt+w")}, &popup));
    const QString shot = screenFile(QStringLiteral("window-menu"));
    QVERIFY(XDriver::screenshot(popup, shot));
    CHECKED(closeMenu(popup));
    QVERIFY2(shows(name), qPrintable(state()));
    {
        const QImage image = QImage(shot).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(image.height() > 40, qPrintable(shot));
        // The entry's row is the menu's last: about 20 pixels above its lower border; its text
        // starts after the icon column.
        int dark = 0;
        for (int y = image.height() - 22; y < image.height() - 3; ++y) {
            for (int x = 30; x < image.width() - 4; ++x) {
                const QRgb p = image.pixel(x, y);
                dark += qMax(qRed(p), qMax(qGreen(p), qBlue(p))) < 110 ? 1 : 0;
            }
        }
        QVERIFY2(dark >= 20, qPrintable(QStringLiteral("The Window menu's entry for the tab shows "
                                                       "no text (%1 dark pixels); see %2")
                                            .arg(dark).arg(shot)));
    }

    // The field still holds the text as typed: the typo (the port) is mended in place, at the
    // start of the field, and the mended address opens. A field holding anything else would
    // not become that address.
    const qsizetype mark = m_server->mark();
    CHECKED(pressInFrame({QStringLiteral("alt+d"), QStringLiteral("Home")}));
    QStringList deletes;
    for (qsizetype i = 0; i < host.size(); ++i)
        deletes << QStringLiteral("Delete");
    QVERIFY(XDriver::key(deletes));
    QVERIFY(XDriver::type(QStringLiteral("localhost:%1").arg(m_server->serverPort()), kTypingDelayMs));
    QVERIFY(XDriver::key({QStringLiteral("Return")}));
    WAIT_UNTIL(m_server->countSince(mark, QStringLiteral("/page/5")) > 0 && showsPage(5), kResultMs,
               QStringLiteral("page 5 after mending '%1' in the field; requests since: %2; %3")
                   .arg(typed, m_server->logText(mark), state()));
}

namespace {

// A long plain article: sections of plain paragraphs, no style sheet. Once loaded it goes to
// the middle section, as a reader who scrolled there. Its title tells the section at the top of
// its viewport and the viewport's size, and each scroll, resize and change of its visibility is
// reported as /place?SECTION&WIDTHxHEIGHT&STATE.
QByteArray articlePage(int sections)
{
    QByteArray body;
    for (int i = 1; i <= sections; ++i) {
        body += "<h2 id=\"s" + QByteArray::number(i) + "\">Section " + QByteArray::number(i) +
                "</h2>";
        for (int p = 0; p < 4; ++p)
            body += "<p>This paragraph of section " + QByteArray::number(i) +
                    " is plain text of the kind a long article is made of. It runs over a few "
                    "lines at the width of a window, so that the whole article is many screens "
                    "long and a reader who left it somewhere expects to find that place again "
                    "when coming back to it.</p>";
    }
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Article</title></head>"
           "<body>" + body +
           "<script>"
           "function place(){var s=1;for(var i=1;i<=" + QByteArray::number(sections) + ";++i){"
           "if(document.getElementById('s'+i).getBoundingClientRect().top<=5)s=i;}"
           "var size=innerWidth+'x'+innerHeight;"
           "document.title='Article at section '+s+' ('+size+')';"
           "new Image().src='/place?'+s+'&'+size+'&'+document.visibilityState;}"
           "addEventListener('scroll',place);addEventListener('resize',place);"
           "document.addEventListener('visibilitychange',place);"
           "addEventListener('load',function(){document.getElementById('s" +
           QByteArray::number(sections / 2) + "').scrollIntoView();place();});"
           "</script></body></html>";
}

} // namespace

// An article left in its middle behind a tab opened with Ctrl+N keeps its place and its size
// while it is covered, however long, and shows that place at each return.
void TestDesktop::coveredArticleKeepsItsPlace()
{
    m_server->setRoute(QStringLiteral("/article"), TestServer::Route("200 OK", articlePage(20)));
    const qsizetype start = m_server->mark();
    CHECKED(startAt(QStringLiteral("/page/1"), TestServer::pageTitle(1)));
    CHECKED(typeAddress(m_server->url(QStringLiteral("/article"))));
    WAIT_UNTIL(m_quarvel->title().contains(QLatin1String("[Article at section 10 (")), kResultMs,
               QStringLiteral("the article in its middle section; ") + state());
    // The place as the reader left it: its section and the viewport's size.
    const QString left = m_quarvel->title().section(u'[', 1);
    XDriver::screenshot(QStringLiteral("root"), screenFile(QStringLiteral("left")));

    CHECKED(pressInFrame({QStringLiteral("ctrl+n")}));
    WAIT_UNTIL(showsPage(9), kResultMs,
               QStringLiteral("a new tab on home page /page/9 after Ctrl+N; ") + state());
    CHECKED(typeAddress(m_server->url(QStringLiteral("/page/4"))));
    WAIT_UNTIL(showsPage(4), kResultMs,
               QStringLiteral("page 4 typed into the new tab; ") + state());
    // What acts on a covered tab has acted: the view let go of its picture of the page at
    // once, the heap is trimmed 1.5 s after the last page was covered.
    QTest::qWait(2500);

    const qsizetype covered = m_server->mark();
    for (const QString &key : {QStringLiteral("ctrl+Tab"), QStringLiteral("ctrl+shift+Tab")}) {
        // From page 4's tab, the article is the next tab before it, and the one after it too.
        CHECKED(pressInFrame({key}));
        WAIT_UNTIL(m_quarvel->title().section(u'[', 1) == left, kResultMs,
                   QStringLiteral("the article at its place '%1' after %2; %3")
                       .arg(left, key, state()));
        XDriver::screenshot(QStringLiteral("root"), screenFile(QStringLiteral("back")));
        CHECKED(pressInFrame({key}));
        WAIT_UNTIL(showsPage(4), kResultMs,
                   QStringLiteral("another tab after %1 from the article; %2").arg(key, state()));
        QTest::qWait(2500);
    }
    // The article was only ever laid out at the size it was shown at, in its middle section.
    const QString size = left.section(u'(', 1).section(u')', 0, 0);
    for (const QString &target : m_server->targets(start)) {
        if (!target.startsWith(QLatin1String("/place?")))
            continue;
        QVERIFY2(target.section(u'&', 1, 1) == size,
                 qPrintable(QStringLiteral("The article was laid out at another size than %1: %2")
                                .arg(size, m_server->logText(start))));
    }
    QVERIFY2(m_server->targets(covered).filter(QStringLiteral("/place?")).size() <= 8,
             qPrintable(QStringLiteral("The article changed more often than it was shown and "
                                       "covered: ") + m_server->logText(covered)));
}

// With several tabs open, a new tab by Ctrl+N and by a hand-over shows its page at once, titled
// so in the frame's caption, drawn; of the pages behind it only the one it covered changes (it
// goes hidden), no other covered page comes into view even for a moment.
void TestDesktop::openingTabs()
{
    CHECKED(startAt(QStringLiteral("/page/1"), TestServer::pageTitle(1)));
    // Which page each opening covers: the one shown before it.
    const struct
    {
        int page;  // opened (home page 1 is page 9)
        bool ctrlN; // by Ctrl+N, else by a hand-over
        int covered;
    } openings[] = {{2, false, 1}, {3, false, 2}, {4, false, 3}, {9, true, 4}, {5, false, 9}};
    for (const auto &opening : openings) {
        const QString path = QStringLiteral("/page/%1").arg(opening.page);
        const QString road = opening.ctrlN ? QStringLiteral("Ctrl+N") : QStringLiteral("a hand-over");
        const qsizetype mark = m_server->mark();
        if (opening.ctrlN)
            CHECKED(pressInFrame({QStringLiteral("ctrl+n")}));
        else
            CHECKED(handOver(path));
        const QString hidden = QStringLiteral("/visibility?%1&hidden").arg(opening.covered);
        WAIT_UNTIL(showsPage(opening.page) &&
                       m_server->targets(mark).contains(QStringLiteral("/drawn?") + path) &&
                       m_server->targets(mark).contains(hidden),
                   kResultMs,
                   QStringLiteral("page %1 shown and drawn after %2, page %3 covered; %4")
                       .arg(opening.page)
                       .arg(road)
                       .arg(opening.covered)
                       .arg(state()));
        QVERIFY2(m_server->targets(mark).filter(QStringLiteral("/visibility?")) ==
                     QStringList{hidden},
                 qPrintable(QStringLiteral("Pages behind page %1 changed after %2: %3")
                                .arg(opening.page)
                                .arg(road, m_server->logText(mark))));
    }
    XDriver::screenshot(QStringLiteral("root"), screenFile());
    // Six tabs, the last one on the page handed over last.
    CHECKED(closeKeepingTabs(6, QStringLiteral("/page/5")));
}

// A named pipe where the toolbar layout should be: the start sets it aside, says so once and goes
// on to the page, and then hands a later start's address over.
void TestDesktop::layoutPipe()
{
    const QString layout = m_home->filePath(QStringLiteral("data/Quarvel/layout.xml"));
    QVERIFY(QDir().mkpath(QFileInfo(layout).absolutePath()));
    QVERIFY(::mkfifo(QFile::encodeName(layout).constData(), 0600) == 0);
    QVERIFY2(m_home->seedSettings(m_server->url(QStringLiteral("/page/9"))), "Cannot seed the settings");
    m_quarvel = std::make_unique<QuarvelProcess>(m_binary, *m_home);
    QVERIFY2(m_quarvel->start({m_server->url(QStringLiteral("/page/1"))}), "Quarvel did not start");
    // The notice is the window of Quarvel's that takes the focus, so Enter goes to it.
    WAIT_UNTIL(m_quarvel->otherWindows().contains(XDriver::activeWindow()) || !m_quarvel->isRunning(), kStartMs,
               QStringLiteral("the notice of the layout set aside; windows: ") + m_quarvel->windowsText());
    QVERIFY2(m_quarvel->isRunning(), qPrintable(QStringLiteral("Quarvel ended at its start:\n") + m_quarvel->errorTail()));
    XDriver::screenshot(QStringLiteral("root"), screenFile(QStringLiteral("notice")));
    QVERIFY(XDriver::key({QStringLiteral("Return")}));
    WAIT_UNTIL(showsPage(1), kStartMs, QStringLiteral("page 1 in the title; ") + state());
    const QStringList aside = QFileInfo(layout).dir().entryList({QStringLiteral("layout.xml.unreadable-*")}, QDir::System);
    QCOMPARE(aside.size(), 1);

    // The instance lock is held by a frame that answers: a later start hands over and ends.
    CHECKED(handOver(QStringLiteral("/page/2")));
    WAIT_UNTIL(showsPage(2), kResultMs, QStringLiteral("the handed-over page 2 in the title; ") + state());
}

QTEST_GUILESS_MAIN(TestDesktop)
#include "tst_desktop.moc"
