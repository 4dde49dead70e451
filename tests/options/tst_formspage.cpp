#include "recordingoptionshost.h"

#include "core/appstate.h"
#include "core/formstore.h"
#include "core/passworddigest.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "core/userfile.h"
#include "options/cardlockdialog.h"
#include "options/formsoptionspage.h"
#include "platform/pagecustomizer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QtTest>

#include <functional>

class TestFormsPage : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    RecordingOptionsHost m_host;
    QStringList m_messages, m_titles;

    std::unique_ptr<FormsOptionsPage> makePage()
    {
        auto page = std::make_unique<FormsOptionsPage>(m_host);
        page->setMessageFunction([this](QMessageBox::Icon, const QString &title, const QString &text) {
            m_titles << title;
            m_messages << text;
        });
        return page;
    }
    template <typename T> static T *control(QWidget &page, const QString &name)
    {
        T *widget = page.findChild<T *>(name);
        Q_ASSERT(widget);
        return widget;
    }
    // Sets a list by position or a text box by text.
    static void enter(QWidget &page, const QString &name, const QString &value)
    {
        if (auto *list = page.findChild<QComboBox *>(name))
            list->setCurrentIndex(value.toInt());
        else
            control<QLineEdit>(page, name)->setText(value);
    }
    // Whether the field as drawn shows the protection's blue tint inside its frame.
    static bool tinted(QWidget *field)
    {
        const QImage image = field->grab().toImage();
        const QColor inside = image.pixelColor(image.width() / 4, image.height() / 2);
        return inside.blue() - inside.red() > 24;
    }
    static FormStore savedStore()
    {
        FormStore store;
        store.openDataFile(FormStore::defaultFile());
        return store;
    }
    static QStringList values(const FormStore &store, const QString &key, bool *cardData = nullptr)
    {
        QStringList texts;
        for (const FormStore::Entry &entry : store.entries()) {
            if (entry.key.compare(key, Qt::CaseInsensitive) != 0)
                continue;
            texts << entry.value;
            if (cardData)
                *cardData = entry.cardData;
        }
        return texts;
    }
    // Chooses a tab while answering the password prompt, if it comes, with answer.
    bool chooseTab(QTabWidget *tabs, int index, const std::function<void(CardLockDialog *)> &answer)
    {
        bool prompted = false;
        QTimer poll;
        poll.setInterval(0);
        connect(&poll, &QTimer::timeout, &poll, [&] {
            if (auto *prompt = qobject_cast<CardLockDialog *>(QApplication::activeModalWidget())) {
                poll.stop();
                prompted = true;
                answer(prompt);
            }
        });
        poll.start();
        tabs->setCurrentIndex(index);
        return prompted;
    }

private Q_SLOTS:
    void init()
    {
        SettingsStore::setInstanceFile(m_dir.filePath(QStringLiteral("%1.ini").arg(QTest::currentTestFunction())
                                                      + QTest::currentDataTag()));
        QFile::remove(FormStore::defaultFile());
        AppState::settings = SettingsModel();
        AppState::creditInfoUnlocked = false;
        m_messages.clear();
        m_titles.clear();
    }

    void savedKeys_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<bool>("cardData");
        QTest::newRow("male") << "sex" << "1" << "gender" << QStringList{"M", "Male"} << false;
        QTest::newRow("female") << "sex" << "2" << "sex" << QStringList{"F", "Female"} << false;
        QTest::newRow("first name only") << "firstname" << "Ann" << "full_name" << QStringList{"Ann "} << false;
        QTest::newRow("no last name key") << "firstname" << "Ann" << "lname" << QStringList{} << false;
        QTest::newRow("empty mail") << "mail" << "" << "mail" << QStringList{""} << false;
        QTest::newRow("empty job") << "job" << "" << "occup" << QStringList{""} << false;
        QTest::newRow("Germany") << "Country" << "81" << "country" << QStringList{"81", "Germany", "DE"} << false;
        QTest::newRow("United Kingdom") << "Country" << "222" << "country"
                                        << QStringList{"222", "United Kingdom", "UK"} << false;
        QTest::newRow("Delta") << "CardType" << "8" << "card_typ" << QStringList{"Delta"} << true;
        QTest::newRow("card number") << "CardNumber" << "4111" << "creditno" << QStringList{"4111"} << true;
        QTest::newRow("expiry month") << "ExpMonth" << "3" << "expirmonth" << QStringList{"3"} << true;
        QTest::newRow("expiry year") << "ExpYear" << "2030" << "expyear" << QStringList{"2030"} << true;
        QTest::newRow("bank") << "Bank" << "Savings" << "bank" << QStringList{"Savings"} << false;
        QTest::newRow("title") << "title" << "5" << "title" << QStringList{"PROF."} << false;
        QTest::newRow("field without value") << "Custom3" << "shoe size" << "SHOE SIZE" << QStringList{""} << false;
    }
    void savedKeys()
    {
        QFETCH(QString, control);
        QFETCH(QString, value);
        QFETCH(QString, key);
        auto page = makePage();
        enter(*page, control, value);
        QVERIFY(page->refusal().isEmpty());
        page->save();
        bool cardData = false;
        QTEST(values(savedStore(), key, &cardData), "stored");
        if (!values(savedStore(), key).isEmpty())
            QTEST(cardData, "cardData");
    }

    void roundTrip()
    {
        SettingsStore::instance().write(QStringLiteral("Settings"), QStringLiteral("CustomFormField2"),
                                        QStringLiteral("stale"));
        auto page = makePage();
        const std::pair<const char *, const char *> entries[] = {
            {"title", "2"}, {"sex", "1"}, {"firstname", "Ann"}, {"lastname", "Lee"}, {"bday", "31"},
            {"bmonth", "12"}, {"byear", "1980"}, {"mail", "ann@example.org"}, {"Address2", "Flat 2"},
            {"Country", "236"}, {"ZipCode", "1000"}, {"CardType", "6"}, {"ExpMonth", "12"},
            {"UserName", "alee"}, {"Custom0", "Shoe"}, {"Value0", "38"}, {"Custom5", "empty"}};
        for (const auto &[name, value] : entries)
            enter(*page, QLatin1String(name), QLatin1String(value));
        enter(*page, QStringLiteral("Custom2"), QString());
        const FormRecord edited = page->record();
        page->save();
        QCOMPARE(SettingsStore::instance().read(QStringLiteral("Settings"), QStringLiteral("CustomFormField2"),
                                                QStringLiteral("<none>")),
                 QString());
        QCOMPARE(makePage()->record(), edited);
        QCOMPARE(edited.cardType, 6); // "Diners Club"
        // Emptying a box drops its keys, as the save starts from an empty store.
        enter(*page, QStringLiteral("Address2"), QString());
        page->save();
        QVERIFY(values(savedStore(), QStringLiteral("addr_2")).isEmpty());
    }

    void storedValuesSelect_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("savedAgain");
        QTest::newRow("title any case") << "TITLE" << "prof." << "title" << 5 << QStringList{"PROF."};
        QTest::newRow("unknown title") << "title" << "Sir" << "title" << 0 << QStringList{};
        QTest::newRow("sex letter") << "sex" << "f" << "sex" << 2 << QStringList{"F", "Female"};
        QTest::newRow("last day") << "day" << "31" << "bday" << 31 << QStringList{"31"};
        QTest::newRow("day past the list") << "day" << "32" << "bday" << -1 << QStringList{};
        QTest::newRow("card type any case") << "cardtyp" << "DINERS CLUB" << "CardType" << 6
                                            << QStringList{"Diners Club"};
        QTest::newRow("country") << "Country" << "81" << "Country" << 81 << QStringList{"81", "Germany", "DE"};
        QTest::newRow("country no number") << "Country" << "Germany" << "Country" << -1 << QStringList{};
    }
    void storedValuesSelect()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, control);
        FormStore store;
        store.setValue(key, value, false);
        QVERIFY(store.saveDataFile(FormStore::defaultFile()));
        auto page = makePage();
        QTEST(this->control<QComboBox>(*page, control)->currentIndex(), "position");
        page->save();
        QTEST(values(savedStore(), key), "savedAgain");
    }

    void emptyStoreAndCancel()
    {
        SettingsStore::instance().write(QStringLiteral("Settings"), QStringLiteral("CustomFormField4"),
                                        QStringLiteral("pet"));
        AppState::settings.autoFormFill = true;
        {
            auto page = makePage();
            QCOMPARE(control<QLineEdit>(*page, QStringLiteral("Custom4"))->text(), QStringLiteral("pet"));
            QCOMPARE(control<QComboBox>(*page, QStringLiteral("Country"))->currentIndex(), 0);
            QVERIFY(control<QLineEdit>(*page, QStringLiteral("firstname"))->text().isEmpty());
            QCOMPARE(page->record(), [] {
                FormRecord empty;
                empty.customName[4] = QStringLiteral("pet");
                return empty;
            }());
            // Edits that are never saved reach neither the store nor the settings.
            enter(*page, QStringLiteral("firstname"), QStringLiteral("Ann"));
            control<QCheckBox>(*page, QStringLiteral("chkAutoFormFill"))->setChecked(false);
        }
        QVERIFY(!QFile::exists(FormStore::defaultFile()));
        QVERIFY(AppState::settings.autoFormFill);
    }

    // A form-data file that cannot be read is kept byte for byte through OK; the page says so
    // once, when it is shown, and its data cannot be edited.
    void unreadableDataIsKept()
    {
        const QByteArray damaged("QVFD\x01 not what it claims to be");
        QVERIFY(UserFile::save(FormStore::defaultFile(), damaged));
        AppState::settings.autoFormFill = true;
        auto page = makePage();
        QVERIFY(!control<QTabWidget>(*page, QStringLiteral("SSTab1"))->isEnabled());
        page->show();
        QTRY_COMPARE(m_messages, QStringList{loadResString(14907)});
        control<QCheckBox>(*page, QStringLiteral("chkAutoFormFill"))->setChecked(false);
        page->save();
        QVERIFY(!AppState::settings.autoFormFill);
        QByteArray kept;
        QVERIFY(UserFile::read(FormStore::defaultFile(), &kept));
        QCOMPARE(kept, damaged);
        page->hide();
        page->show();
        QCoreApplication::processEvents();
        QCOMPARE(m_messages.size(), 1);
    }

    void userFieldNames_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("refused");
        QTest::newRow("own names") << "shoe" << "pet" << false;
        QTest::newRow("built-in key") << "shoe" << "Mail" << true;
        QTest::newRow("synonym") << "CREDIT_NO" << "" << true;
        QTest::newRow("same name twice") << "Shoe" << "shoe" << true;
    }
    void userFieldNames()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        auto page = makePage();
        enter(*page, QStringLiteral("Custom1"), first);
        enter(*page, QStringLiteral("Custom4"), second);
        QTEST(!page->refusal().isEmpty(), "refused");
    }

    void protectToggle_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<int>("message");
        QTest::newRow("equal") << "Secret" << "Secret" << 0;
        QTest::newRow("different") << "Secret" << "secret" << 3021;
        QTest::newRow("blank") << "" << "" << 3022;
    }
    void protectToggle()
    {
        QFETCH(QString, password);
        QFETCH(QString, confirm);
        QFETCH(int, message);
        auto page = makePage();
        enter(*page, QStringLiteral("Password"), password);
        enter(*page, QStringLiteral("Confirm"), confirm);
        auto *protect = control<QCheckBox>(*page, QStringLiteral("Protect"));
        protect->setChecked(true);
        const bool on = message == 0;
        QCOMPARE(protect->isChecked(), on);
        QCOMPARE(AppState::settings.protectCreditInfo, on);
        QCOMPARE(AppState::settings.creditInfoPassword.isEmpty(), !on);
        QVERIFY(!on || PasswordDigest::matches(AppState::settings.creditInfoPassword, password));
        QCOMPARE(m_messages, on ? QStringList{} : QStringList{loadResString(message)});
        QCOMPARE(m_titles, on ? QStringList{} : QStringList{QStringLiteral("error")});
        QCOMPARE(control<QLineEdit>(*page, QStringLiteral("Password"))->text().isEmpty(), !on);
        const QColor tint = control<QLineEdit>(*page, QStringLiteral("ExpYear"))->palette().color(QPalette::Base);
        QCOMPARE(tint == QColor(204, 204, 255), on);
        // Every card field is painted in the tint, the two lists among them; switched off, none.
        const QStringList cardFields{"CardType", "CardNumber", "ValidCode", "ExpMonth", "ExpYear"};
        auto tintedFields = [&] {
            QStringList names;
            for (const QString &name : cardFields) {
                if (tinted(control<QWidget>(*page, name)))
                    names << name;
            }
            return names;
        };
        QCOMPARE(tintedFields(), on ? cardFields : QStringList{});
        enter(*page, QStringLiteral("Password"), QStringLiteral("Secret"));
        enter(*page, QStringLiteral("Confirm"), QStringLiteral("Secret"));
        protect->setChecked(true);
        QCOMPARE(tintedFields(), cardFields);
        protect->setChecked(false);
        QCOMPARE(tintedFields(), QStringList{});
    }

    // What the page saves fills a web form through the engine; card fields only when unlocked.
    void savedDataFillsAWebForm_data()
    {
        QTest::addColumn<bool>("protect");
        QTest::newRow("unlocked") << false;
        QTest::newRow("protected") << true;
    }
    void savedDataFillsAWebForm()
    {
        QFETCH(bool, protect);
        auto page = makePage();
        enter(*page, QStringLiteral("firstname"), QStringLiteral("Ann"));
        enter(*page, QStringLiteral("mail"), QStringLiteral("ann@example.org"));
        enter(*page, QStringLiteral("Country"), QStringLiteral("81"));
        enter(*page, QStringLiteral("CardNumber"), QStringLiteral("4111111111111111"));
        page->save();

        QWebEngineProfile profile;
        QWebEnginePage web(&profile);
        QSignalSpy loaded(&web, &QWebEnginePage::loadFinished);
        web.setHtml(QStringLiteral("<form><input name='firstname'><input name='email'>"
                                   "<input name='country'><input name='creditno'></form>"),
                    QUrl(QStringLiteral("http://127.0.0.1/")));
        QVERIFY(loaded.wait(20000));
        PageCustomizer customizer;
        QVERIFY(customizer.openDataFile(FormStore::defaultFile()));
        customizer.attach(&web);
        std::optional<bool> filled;
        customizer.setCardProtection(protect);
        customizer.fillForm([&filled](bool result) { filled = result; });
        QTRY_VERIFY_WITH_TIMEOUT(filled.has_value(), 20000);
        QVERIFY(*filled);

        std::optional<QVariant> values;
        web.runJavaScript(QStringLiteral("[...document.forms[0].elements].map(e => e.value)"),
                          [&values](const QVariant &result) { values = result; });
        QTRY_VERIFY(values.has_value());
        const QStringList expected{QStringLiteral("Ann"), QStringLiteral("ann@example.org"),
                                   QStringLiteral("Germany"),
                                   protect ? QString() : QStringLiteral("4111111111111111")};
        QCOMPARE(values->toStringList(), expected);
    }

    void cardTabAsksForThePassword_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("wrongPassword");
        QTest::newRow("cancel") << QString() << int(FormsOptionsPage::AddressTab) << false;
        QTest::newRow("letter case differs") << "secret" << int(FormsOptionsPage::AddressTab) << true;
        QTest::newRow("right password") << "Secret" << int(FormsOptionsPage::CardTab) << false;
    }
    void cardTabAsksForThePassword()
    {
        QFETCH(QString, answer);
        QFETCH(bool, wrongPassword);
        AppState::settings.protectCreditInfo = true;
        AppState::settings.creditInfoPassword = PasswordDigest::make(QStringLiteral("Secret"));
        auto page = makePage();
        QVERIFY(control<QCheckBox>(*page, QStringLiteral("Protect"))->isChecked());
        QVERIFY(control<QLineEdit>(*page, QStringLiteral("Password"))->text().isEmpty());
        auto *tabs = control<QTabWidget>(*page, QStringLiteral("SSTab1"));
        tabs->setCurrentIndex(FormsOptionsPage::AddressTab);
        QVERIFY(chooseTab(tabs, FormsOptionsPage::CardTab, [&](CardLockDialog *prompt) {
            if (answer.isEmpty()) {
                control<QPushButton>(*prompt, QStringLiteral("cmdCancel"))->click();
                return;
            }
            control<QLineEdit>(*prompt, QStringLiteral("txtPassword"))->setText(answer);
            control<QPushButton>(*prompt, QStringLiteral("cmdOK"))->click();
        }));
        QTEST(tabs->currentIndex(), "tab");
        const bool unlocked = tabs->currentIndex() == FormsOptionsPage::CardTab;
        QCOMPARE(AppState::creditInfoUnlocked, unlocked);
        QCOMPARE(m_messages, wrongPassword ? QStringList{loadResString(5505)} : QStringList{});
        QCOMPARE(m_titles, wrongPassword ? QStringList{loadResString(100)} : QStringList{});
        QVERIFY(AppState::settings.protectCreditInfo);

        // Once given, the password is not asked again in this run, not even by a new page.
        if (unlocked) {
            auto later = makePage();
            auto *laterTabs = control<QTabWidget>(*later, QStringLiteral("SSTab1"));
            QVERIFY(!chooseTab(laterTabs, FormsOptionsPage::CardTab, [](CardLockDialog *prompt) { prompt->reject(); }));
            QCOMPARE(laterTabs->currentIndex(), int(FormsOptionsPage::CardTab));
        }
    }
};

QTEST_MAIN(TestFormsPage)
#include "tst_formspage.moc"
