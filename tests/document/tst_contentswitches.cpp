#include "core/settingsmodel.h"
#include "document/contentswitches.h"

#include <QtTest>

using namespace ContentSwitches;

Q_DECLARE_METATYPE(ContentSwitches::FollowUp)

namespace {

// A document as the switches reach it, recording the calls in order.
struct FakeDocument
{
    QStringList calls;
    void applyDownloadOptions() { calls << QStringLiteral("options"); }
    void reload() { calls << QStringLiteral("refresh"); }
    void setSilent(bool silent) { calls << QStringLiteral("silent=%1").arg(silent); }
    void setLoadErrorsSuppressed(bool suppressed) { calls << QStringLiteral("load errors=%1").arg(suppressed); }
};

} // namespace

class TestContentSwitches : public QObject
{
    Q_OBJECT

private slots:
    void toggles_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<FollowUp>("followUp");

        QTest::newRow("images") << "mnuContentImage" << "EnableImages" << FollowUp::RefreshAll;
        QTest::newRow("sound") << "mnuContentSound" << "EnableSound" << FollowUp::RefreshAll;
        QTest::newRow("video") << "mnuContentVideo" << "EnableVideo" << FollowUp::RefreshAll;
        QTest::newRow("scripts") << "mnuContentScripts" << "EnableScripts" << FollowUp::RefreshAll;
        QTest::newRow("java") << "mnuContentJava" << "EnableJava" << FollowUp::RefreshAll;
        QTest::newRow("activex download") << "mnuContentDLACTX" << "EnableActiveXDL"
                                          << FollowUp::RefreshAll;
        QTest::newRow("activex run") << "mnuContentRUNACTX" << "EnableActiveXRUN"
                                     << FollowUp::RefreshAll;
        QTest::newRow("flash") << "mnuContentFlash" << "EnableFlash" << FollowUp::RefreshAll;
        QTest::newRow("errors") << "mnuContentSuppressErrors" << "SuppressErrors"
                                << FollowUp::ApplyLoadErrors;
        QTest::newRow("script errors") << "mnuContentSuppressScriptErrors"
                                       << "SuppressScriptErrors" << FollowUp::ApplyScriptErrors;
        QTest::newRow("form filling") << "mnuContentAutoFill" << "AutoFormFill"
                                      << FollowUp::FillFormWhenOn;
    }

    // Each key inverts its own setting and no other, both ways.
    void toggles()
    {
        QFETCH(QString, key);
        QFETCH(QString, setting);

        // The settings by name, to see that exactly one of them changes.
        auto snapshot = [](const SettingsModel &s) {
            return QMap<QString, bool>{
                {"EnableImages", s.enableImages}, {"EnableSound", s.enableSound},
                {"EnableVideo", s.enableVideo}, {"EnableScripts", s.enableScripts},
                {"EnableJava", s.enableJava}, {"EnableActiveXDL", s.enableActiveXDL},
                {"EnableActiveXRUN", s.enableActiveXRUN}, {"EnableFlash", s.enableFlash},
                {"SuppressErrors", s.suppressErrors},
                {"SuppressScriptErrors", s.suppressScriptErrors},
                {"AutoFormFill", s.autoFormFill}};
        };

        SettingsModel settings;
        const QMap<QString, bool> before = snapshot(settings);
        QVERIFY(before.contains(setting));
        bool value = false;
        FollowUp followUp = FollowUp::Nothing;
        QVERIFY(toggle(key, settings, &value, &followUp));
        QMap<QString, bool> expected = before;
        expected[setting] = !before[setting];
        QCOMPARE(snapshot(settings), expected);
        QCOMPARE(value, !before[setting]);
        QTEST(followUp, "followUp");

        QVERIFY(toggle(key, settings, &value, nullptr));
        QCOMPARE(snapshot(settings), before);
        QCOMPARE(value, before[setting]);
    }

    void unknownKeyChangesNothing()
    {
        SettingsModel settings;
        settings.enableImages = true;
        bool value = true;
        QVERIFY(!toggle(QStringLiteral("mnuViewFullScreen"), settings, &value, nullptr));
        QVERIFY(!toggle(QStringLiteral("mnucontentimage"), settings, &value, nullptr));
        QVERIFY(settings.enableImages);
        QCOMPARE(findSwitch(QStringLiteral("mnuContentFillForm")), nullptr);
    }

    void appliesToOneDocument_data()
    {
        QTest::addColumn<FollowUp>("followUp");
        QTest::addColumn<bool>("suppress");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QStringList>("calls");

        QTest::newRow("refresh all") << FollowUp::RefreshAll << false << true
                                     << QStringList{"options", "refresh"};
        QTest::newRow("script errors on") << FollowUp::ApplyScriptErrors << true << true
                                          << QStringList{"silent=1"};
        QTest::newRow("script errors off") << FollowUp::ApplyScriptErrors << false << true
                                           << QStringList{"silent=0"};
        QTest::newRow("load errors on") << FollowUp::ApplyLoadErrors << true << true
                                        << QStringList{"load errors=1"};
        QTest::newRow("nothing") << FollowUp::Nothing << false << false << QStringList{};
        QTest::newRow("form filling is the caller's") << FollowUp::FillFormWhenOn << false
                                                      << false << QStringList{};
    }

    void appliesToOneDocument()
    {
        QFETCH(FollowUp, followUp);
        QFETCH(bool, suppress);
        QFETCH(QStringList, calls);

        FakeDocument document;
        SettingsModel settings;
        settings.suppressScriptErrors = suppress;
        settings.suppressErrors = suppress;
        QTEST(applyToDocument(followUp, document, settings), "handled");
        QCOMPARE(document.calls, calls);
    }
};

QTEST_GUILESS_MAIN(TestContentSwitches)
#include "tst_contentswitches.moc"
