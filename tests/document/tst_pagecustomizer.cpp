#include "core/formstore.h"
#include "core/historystore.h"
#include "core/appstate.h"
#include "document/documentwindow.h"
#include "platform/newwindowrequest.h"
#include "platform/pagecustomizer.h"
#include "platform/webbrowser.h"
#include "testserver.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>

#include <optional>

namespace {

// Refuses (and records) the navigations the document window cancels.
class RecordingPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;
    QList<QUrl> refused;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        if (url.toString().endsWith(QLatin1String("ENABLEFLASH"), Qt::CaseInsensitive)) {
            refused.append(url);
            return false;
        }
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    }
};

const char kFormPage[] = R"HTML(<!doctype html>
<html><head><title>Form</title></head><body>
<form>
<input name="FirstName">
<input type="email" id="mail">
<input name="surname_field" autocomplete="section-a shipping family-name">
<input name="lastname" value="keep">
<input name="city" style="display:none">
<input name="phone" disabled>
<input type="password" name="user">
<input name="Country">
<select name="country"><option value="">-</option><option value="FR">France</option><option value="DE">Germany</option></select>
<select name="sex"><option value=""></option><option value="f">Female</option><option value="m">Male</option></select>
<input name="card_num">
<select name="exp_month"><option value=""></option><option>01</option><option>02</option><option>03</option></select>
<input name="unknown_field">
</form>
<script>
document.addEventListener('input', function () {
  var d = document.documentElement.dataset;
  d.inputs = (+d.inputs || 0) + 1;
}, true);
</script>
</body></html>)HTML";

const char kFlashPage[] = R"HTML(<!doctype html>
<html><head><title>Flash</title></head><body>
<p><embed type="application/x-shockwave-flash" src="/movie.bin" width="300" height="120"></p>
<p><embed src="/clip.SWF?autoplay=1"></p>
<object data="/x.dat" width="50%"><param name="movie" value="/anim.swf"><embed src="/anim.swf"></object>
<object classid="clsid:D27CDB6E-AE6D-11cf-96B8-444553540000"></object>
<embed id="video" src="/movie.mp4" type="video/mp4">
</body></html>)HTML";

QByteArray titledPage(const char *title)
{
    return QByteArray("<!doctype html><title>") + title + "</title><p>" + title;
}

} // namespace

class TestPageCustomizer : public QObject
{
    Q_OBJECT

    TestServer m_server;
    QWebEngineProfile *m_profile = nullptr;
    QTemporaryDir m_dir;

    static bool load(QWebEnginePage &page, const QUrl &url)
    {
        QSignalSpy finished(&page, &QWebEnginePage::loadFinished);
        page.load(url);
        return finished.wait(30000) && finished.first().first().toBool();
    }

    // Runs a script in the application's world (so it works with page scripts off).
    static QVariant eval(QWebEnginePage &page, const QString &script)
    {
        std::optional<QVariant> result;
        page.runJavaScript(script, QWebEngineScript::ApplicationWorld,
                           [&result](const QVariant &value) { result = value; });
        if (!QTest::qWaitFor([&result] { return result.has_value(); }, 30000))
            qWarning("script did not answer: %s", qPrintable(script));
        return result.value_or(QVariant());
    }

    static QVariantMap fieldValues(QWebEnginePage &page)
    {
        return eval(page, QStringLiteral(
                              "(function () { var r = {};"
                              " document.querySelectorAll('input, select').forEach(function (e) {"
                              "   r[e.getAttribute('name') || e.id] = e.value; });"
                              " return r; })()"))
            .toMap();
    }

    // Gives the customizer the form filler's store as a document does: from its file.
    void useStore(PageCustomizer &customizer, const QList<FormStore::Entry> &entries)
    {
        FormStore store;
        for (const FormStore::Entry &entry : entries)
            store.setValue(entry.key, entry.value, entry.cardData);
        const QString file = m_dir.filePath(QStringLiteral("form.bin"));
        QVERIFY(store.saveDataFile(file));
        QVERIFY(customizer.openDataFile(file));
    }

    void fillStore(PageCustomizer &customizer, const QString &firstName)
    {
        QList<FormStore::Entry> entries = {
            {QStringLiteral("firstname"), firstName},
            {QStringLiteral("mail"), QStringLiteral("ann@example.org")},
            {QStringLiteral("LastName"), QStringLiteral("Doe")},
            {QStringLiteral("City"), QStringLiteral("Bern")},
            {QStringLiteral("phone"), QStringLiteral("123")},
            {QStringLiteral("user"), QStringLiteral("secret")},
        };
        for (const char *country : {"81", "Germany", "DE"})
            entries.append({QStringLiteral("Country"), QLatin1String(country)});
        entries.append({QStringLiteral("sex"), QStringLiteral("M")});
        entries.append({QStringLiteral("sex"), QStringLiteral("Male")});
        entries.append({QStringLiteral("card_num"), QStringLiteral("4111111111111111"), true});
        entries.append({QStringLiteral("exp_month"), QStringLiteral("3"), true});
        useStore(customizer, entries);
    }

private slots:
    void initTestCase()
    {
        m_server.setRoute(QStringLiteral("/form"), TestServer::Route("200 OK", kFormPage));
        m_server.setRoute(QStringLiteral("/flash"), TestServer::Route("200 OK", kFlashPage));
        for (const char *name : {"a", "b", "c", "d"})
            m_server.setRoute(QStringLiteral("/") + QLatin1String(name),
                              TestServer::Route("200 OK", titledPage(name)));
        m_profile = new QWebEngineProfile(this); // off the record
    }

    // A page's alert is shown as the text it is, in the program's message box.
    void pageMessagesAreText()
    {
        WebBrowser browser;
        browser.resize(400, 300);
        browser.show();
        QString shown;
        bool plain = false;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                plain = box->textFormat() == Qt::PlainText;
                box->accept();
            }
        });
        answer.start(20);
        browser.navigate(QStringLiteral("data:text/html,<script>alert('<b>x</b><img src=x>')</script>"));
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 30000);
        QCOMPARE(shown, QStringLiteral("<b>x</b><img src=x>"));
        QVERIFY(plain);
    }

    void fillForm_data()
    {
        QTest::addColumn<bool>("protect");
        QTest::addColumn<bool>("pageScripts");
        QTest::addColumn<QString>("cardNumber");
        QTest::addColumn<QString>("expMonth");
        QTest::newRow("unprotected") << false << true << QStringLiteral("4111111111111111")
                                     << QStringLiteral("03");
        QTest::newRow("protected") << true << true << QString() << QString();
        QTest::newRow("page scripts off") << false << false << QStringLiteral("4111111111111111")
                                          << QStringLiteral("03");
    }

    void fillForm()
    {
        QFETCH(bool, protect);
        QFETCH(bool, pageScripts);
        QFETCH(QString, cardNumber);
        QFETCH(QString, expMonth);

        RecordingPage page(m_profile);
        page.settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, pageScripts);
        QWebEngineView view;
        view.setPage(&page);
        view.resize(800, 600);
        view.show();
        QVERIFY(load(page, m_server.url(QStringLiteral("/form"))));

        const QString firstName = QStringLiteral(
            "Ann \"A\" 'B' </script><script>document.title='injected'</script>"
            "\"; document.title = 'injected'; // \\ \u2028 ünï");
        PageCustomizer customizer;
        customizer.attach(&page);
        fillStore(customizer, firstName);

        std::optional<bool> filled;
        customizer.setCardProtection(protect);
        customizer.fillForm([&filled](bool result) { filled = result; });
        QCOMPARE(customizer.cardProtection(), protect);
        QTRY_VERIFY_WITH_TIMEOUT(filled.has_value(), 30000);
        QVERIFY(*filled);

        const QVariantMap values = fieldValues(page);
        QCOMPARE(values.value(QStringLiteral("FirstName")).toString(), firstName);
        QCOMPARE(values.value(QStringLiteral("mail")).toString(), QStringLiteral("ann@example.org"));
        QCOMPARE(values.value(QStringLiteral("surname_field")).toString(), QStringLiteral("Doe"));
        QCOMPARE(values.value(QStringLiteral("lastname")).toString(), QStringLiteral("keep"));
        QCOMPARE(values.value(QStringLiteral("city")).toString(), QString());    // hidden
        QCOMPARE(values.value(QStringLiteral("phone")).toString(), QString());   // disabled
        QCOMPARE(values.value(QStringLiteral("user")).toString(), QString());    // password
        QCOMPARE(values.value(QStringLiteral("country")).toString(), QStringLiteral("DE"));
        QCOMPARE(values.value(QStringLiteral("Country")).toString(), QStringLiteral("Germany"));
        QCOMPARE(values.value(QStringLiteral("sex")).toString(), QStringLiteral("m"));
        QCOMPARE(values.value(QStringLiteral("card_num")).toString(), cardNumber);
        QCOMPARE(values.value(QStringLiteral("exp_month")).toString(), expMonth);
        QCOMPARE(values.value(QStringLiteral("unknown_field")).toString(), QString());

        // The value stayed text: nothing ran, nothing was added to the page.
        QCOMPARE(eval(page, QStringLiteral("document.title")).toString(), QStringLiteral("Form"));
        QCOMPARE(eval(page, QStringLiteral("document.scripts.length")).toInt(), 1);
        // The page's own listeners saw the input.
        if (pageScripts)
            QVERIFY(eval(page, QStringLiteral("+document.documentElement.dataset.inputs")).toInt() > 0);
    }

    void fillFormWithNothingToFill()
    {
        RecordingPage page(m_profile);
        QVERIFY(load(page, m_server.url(QStringLiteral("/a"))));
        PageCustomizer customizer;

        std::optional<bool> filled;
        auto record = [&filled](bool result) { filled = result; };
        // No page, an empty store, or only card data while protected: answered at once.
        const FormStore::Entry firstName{QStringLiteral("firstname"), QStringLiteral("Ann")};
        const FormStore::Entry card{QStringLiteral("card_num"), QStringLiteral("4111"), true};
        useStore(customizer, {firstName});
        customizer.fillForm(record);
        QCOMPARE(filled, std::optional<bool>(false));
        customizer.attach(&page);
        customizer.clearValues();
        filled.reset();
        customizer.fillForm(record);
        QCOMPARE(filled, std::optional<bool>(false));
        useStore(customizer, {card});
        customizer.setCardProtection(true);
        filled.reset();
        customizer.fillForm(record);
        QCOMPARE(filled, std::optional<bool>(false));
        // The protection stays in force for every later fill until it is switched off.
        filled.reset();
        customizer.fillForm(record);
        QCOMPARE(filled, std::optional<bool>(false));
        QVERIFY(customizer.cardProtection());

        // A page without matching fields.
        customizer.setCardProtection(false);
        useStore(customizer, {card, firstName});
        filled.reset();
        customizer.fillForm(record);
        QTRY_VERIFY_WITH_TIMEOUT(filled.has_value(), 30000);
        QVERIFY(!*filled);
        customizer.fillForm(); // no callback is fine too
    }

    void flashFilter()
    {
        RecordingPage page(m_profile);
        QWebEngineView view;
        view.setPage(&page);
        view.resize(800, 600);
        view.show();
        QVERIFY(load(page, m_server.url(QStringLiteral("/flash"))));
        PageCustomizer customizer;
        customizer.attach(&page);

        std::optional<int> replaced;
        customizer.flashFilter([&replaced](int count) { replaced = count; });
        QTRY_VERIFY_WITH_TIMEOUT(replaced.has_value(), 30000);
        QCOMPARE(*replaced, 4);

        QCOMPARE(eval(page, QStringLiteral("document.querySelectorAll('embed, object').length")).toInt(), 1);
        QCOMPARE(eval(page, QStringLiteral("document.querySelector('embed').id")).toString(),
                 QStringLiteral("video"));
        const QStringList hrefs = eval(page, QStringLiteral(
            "Array.prototype.map.call(document.querySelectorAll('a'), function (a) {"
            " return a.href; })")).toStringList();
        QCOMPARE(hrefs.size(), 4);
        for (const QString &href : hrefs)
            QVERIFY2(href.endsWith(QLatin1String("ENABLEFLASH")), qPrintable(href));
        QCOMPARE(eval(page, QStringLiteral("document.querySelector('a').style.width")).toString(),
                 QStringLiteral("300px"));
        QCOMPARE(eval(page, QStringLiteral("document.querySelector('a').textContent")).toString(),
                 QStringLiteral("Enable Flash"));

        // Following a placeholder asks for the address the document turns into the Flash switch.
        eval(page, QStringLiteral("document.querySelector('a').click()"));
        QTRY_COMPARE_WITH_TIMEOUT(page.refused.size(), 1, 30000);
        QCOMPARE(page.refused.first().toString(), PageCustomizer::kEnableFlashAddress);
        QCOMPARE(page.url(), QUrl(m_server.url(QStringLiteral("/flash"))));
        QCOMPARE(eval(page, QStringLiteral("document.title")).toString(), QStringLiteral("Flash"));

        // A second run finds nothing left to replace.
        replaced.reset();
        customizer.flashFilter([&replaced](int count) { replaced = count; });
        QTRY_VERIFY_WITH_TIMEOUT(replaced.has_value(), 30000);
        QCOMPARE(*replaced, 0);
    }

    void popupFromScriptIsNotAllowed()
    {
        RecordingPage page(m_profile);
        std::optional<bool> allowed;
        connect(&page, &QWebEnginePage::newWindowRequested, this,
                [&allowed](QWebEngineNewWindowRequest &request) {
                    allowed = PageCustomizer::popupAllowed(NewWindowRequest(request));
                });
        page.load(m_server.url(QStringLiteral("/popup")));
        QTRY_VERIFY_WITH_TIMEOUT(allowed.has_value(), 30000);
        QVERIFY(!*allowed);
    }

    // The form-data page's use: values written under keys, saved, read back by another
    // customizer with the first value of a key in any letter case.
    void formStore_data()
    {
        QTest::addColumn<QStringList>("written"); // key, value pairs in write order
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first of several") << QStringList{"sex", "M", "sex", "Male"} << "sex" << "M";
        QTest::newRow("any letter case") << QStringList{"City", "Bern"} << "CITY" << "Bern";
        QTest::newRow("empty value") << QStringList{"mail", "", "job", "x"} << "mail" << "";
        QTest::newRow("missing key") << QStringList{"job", "x"} << "mail" << "";
        QTest::newRow("card data") << QStringList{"card_num", "4111"} << "card_num" << "4111";
    }
    void formStore()
    {
        QFETCH(QStringList, written);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        PageCustomizer page;
        for (qsizetype i = 0; i + 1 < written.size(); i += 2)
            page.setValue(written[i], written[i + 1], written[i].startsWith(QLatin1String("card")));
        QCOMPARE(page.value(key), expected);
        const QString file = m_dir.filePath(QStringLiteral("form-roles.bin"));
        QVERIFY(page.saveDataFile(file));

        PageCustomizer document;
        QVERIFY(document.openDataFile(file));
        QCOMPARE(document.value(key), expected);
    }

    void travelLog()
    {
        RecordingPage page(m_profile);
        PageCustomizer customizer;
        QCOMPARE(customizer.backCount(), 0);
        QCOMPARE(customizer.forwardCount(), 0);
        customizer.attach(&page);
        for (const char *name : {"/a", "/b", "/c", "/d"})
            QVERIFY(load(page, QUrl(m_server.url(QLatin1String(name)))));
        QCOMPARE(customizer.backCount(), 3);
        QCOMPARE(customizer.forwardCount(), 0);
        page.triggerAction(QWebEnginePage::Back);
        QTRY_COMPARE_WITH_TIMEOUT(page.history()->currentItemIndex(), 2, 30000);
        page.triggerAction(QWebEnginePage::Back);
        QTRY_COMPARE_WITH_TIMEOUT(page.history()->currentItemIndex(), 1, 30000);
        QCOMPARE(customizer.backCount(), 1);
        QCOMPARE(customizer.forwardCount(), 2);

        struct Expected
        {
            bool back;
            int index;
            const char *title; // nullptr: no such entry
        };
        const Expected expected[] = {
            {true, 1, "a"}, {false, 1, "c"}, {false, 2, "d"},
            {true, 2, nullptr}, {true, 0, nullptr}, {false, 3, nullptr}, {false, -1, nullptr},
        };
        for (const Expected &e : expected) {
            QString title = QStringLiteral("stale"), url = QStringLiteral("stale");
            const bool found = customizer.historyElement(e.back, e.index, title, url);
            QCOMPARE(found, e.title != nullptr);
            QCOMPARE(title, e.title ? QLatin1String(e.title) : QString());
            QCOMPARE(url, e.title ? m_server.url(QLatin1Char('/') + QLatin1String(e.title)) : QString());
        }
        customizer.attach(nullptr);
        QCOMPARE(customizer.backCount(), 0);
        QString title, url;
        QVERIFY(!customizer.historyElement(false, 1, title, url));
    }

    void historyReaderKeepsItsSnapshotUntilReloaded()
    {
        HistoryStore &store = HistoryStore::instance();
        QVERIFY(store.clear());
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QVERIFY(store.addVisit(QStringLiteral("http://old.example/"), QStringLiteral("Old"),
                               now.addSecs(-36 * 3600)));
        QVERIFY(store.addVisit(QStringLiteral("http://new.example/"), QString(), now.addSecs(-60)));

        PageCustomizer reader;
        QCOMPARE(reader.historyCount(), 0);
        reader.historyLoad();
        QVERIFY(store.addVisit(QStringLiteral("http://later.example/"), QStringLiteral("Later"),
                               now.addSecs(1)));
        QCOMPARE(reader.historyCount(), 2);

        QString title, url;
        double age = -1;
        QVERIFY(reader.historyItem(0, title, url, age));
        QCOMPARE(url, QStringLiteral("http://new.example/"));
        QCOMPARE(title, QString());
        QVERIFY(age >= 0 && age < 0.01);
        QVERIFY(reader.historyItem(1, title, url, age));
        QCOMPARE(title, QStringLiteral("Old"));
        QVERIFY2(qAbs(age - 1.5) < 0.01, qPrintable(QString::number(age)));
        QVERIFY(!reader.historyItem(2, title, url, age));
        QVERIFY(title.isEmpty() && url.isEmpty() && age == 0);
        QVERIFY(!reader.historyItem(-1, title, url, age));

        reader.historyLoad();
        QCOMPARE(reader.historyCount(), 3);
        reader.historyRelease();
        QCOMPARE(reader.historyCount(), 0);
        reader.historyRelease(); // twice is harmless
    }

    // A document's customizer, as the travel-log menu reaches it, and what the document's
    // load does to its browser: registered, the content switches in force, the user agent sent.
    void documentCustomizer()
    {
        auto *document = new DocumentWindow;
        QScopedPointer<DocumentWindow, QScopedPointerDeleteLater> owner(document);
        auto *browser = document->findChild<WebBrowser *>();
        QVERIFY(browser && !browser->isRegisteredAsBrowser());
        PageCustomizer *customizer = document->customizer();
        QVERIFY(customizer);
        QCOMPARE(customizer->backCount(), 0);

        document->load(m_server.url(QStringLiteral("/a")), QUrl(m_server.url(QStringLiteral("/a"))));
        QVERIFY(browser->isRegisteredAsBrowser());
        QCOMPARE(browser->downloadControl(), DocumentWindow::downloadControlFlags(AppState::settings));
        QTRY_COMPARE_WITH_TIMEOUT(document->locationName(), QStringLiteral("a"), 30000);
        document->navigate(m_server.url(QStringLiteral("/b")), QUrl(m_server.url(QStringLiteral("/b"))));
        QTRY_COMPARE_WITH_TIMEOUT(document->locationName(), QStringLiteral("b"), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(customizer->backCount(), 1, 30000);
        QString title, url;
        QVERIFY(customizer->historyElement(true, 1, title, url));
        QCOMPARE(url, m_server.url(QStringLiteral("/a")));

        QVERIFY(WebBrowser::userAgent().endsWith(QLatin1String(" Quarvel/") +
                                                 QLatin1String(QUARVEL_VERSION)));
        std::optional<QString> sent;
        browser->page()->runJavaScript(QStringLiteral("navigator.userAgent"),
                                       QWebEngineScript::ApplicationWorld,
                                       [&sent](const QVariant &agent) { sent = agent.toString(); });
        QTRY_VERIFY_WITH_TIMEOUT(sent.has_value(), 30000);
        QCOMPARE(*sent, WebBrowser::userAgent());

        document->registerAsBrowser(false);
        QVERIFY(!browser->isRegisteredAsBrowser());
    }

    // A document gives its customizer the card-data lock of the settings at every completed page
    // and at every fill asked for: locked while protected and not unlocked in this run.
    void documentCardProtection_data()
    {
        QTest::addColumn<bool>("protect");
        QTest::addColumn<bool>("unlocked");
        QTest::addColumn<bool>("locked");
        QTest::newRow("unprotected") << false << false << false;
        QTest::newRow("protected") << true << false << true;
        QTest::newRow("protected, unlocked") << true << true << false;
        QTest::newRow("unlocked, unprotected") << false << true << false;
    }

    void documentCardProtection()
    {
        QFETCH(bool, protect);
        QFETCH(bool, unlocked);
        QFETCH(bool, locked);
        const bool savedProtect = AppState::settings.protectCreditInfo;
        const bool savedUnlocked = AppState::creditInfoUnlocked;
        auto restore = qScopeGuard([&] {
            AppState::settings.protectCreditInfo = savedProtect;
            AppState::creditInfoUnlocked = savedUnlocked;
        });
        AppState::settings.protectCreditInfo = protect;
        AppState::creditInfoUnlocked = unlocked;

        auto *document = new DocumentWindow;
        QScopedPointer<DocumentWindow, QScopedPointerDeleteLater> owner(document);
        PageCustomizer *customizer = document->customizer();
        customizer->setCardProtection(!locked);
        document->load(m_server.url(QStringLiteral("/form")), QUrl(m_server.url(QStringLiteral("/form"))));
        QTRY_COMPARE_WITH_TIMEOUT(customizer->cardProtection(), locked, 30000);

        customizer->setCardProtection(!locked);
        document->fillForm();
        QCOMPARE(customizer->cardProtection(), locked);
    }

    void cleanupTestCase()
    {
        delete m_profile;
        m_profile = nullptr;
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestPageCustomizer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pagecustomizer.moc"
