#include "settingsmodel.h"

#include "passworddigest.h"
#include "paths.h"
#include "settingsstore.h"
#include "vbconvert.h"

namespace {

using M = SettingsModel;

const QString kSettings = QStringLiteral("Settings");
const QString kCustomLinks = QStringLiteral("CustomLinks");
const QString kSkins = QStringLiteral("Skins");

QString keyed(const char *word, qsizetype index)
{
    return QLatin1String(word) + QString::number(index);
}

// Reads one key into a member; a text that fails to convert leaves the member as it was.
template <typename T> void readInto(const SettingsStore &store, const QString &section,
                                    const QString &key, const QString &defaultText, T &target)
{
    const QString text = store.read(section, key, defaultText);
    if constexpr (std::is_same_v<T, bool>) {
        if (const auto v = VbConvert::toBoolean(text))
            target = *v;
    } else if constexpr (std::is_same_v<T, qint16>) {
        if (const auto v = VbConvert::toInteger(text))
            target = *v;
    } else if constexpr (std::is_same_v<T, qint32>) {
        if (const auto v = VbConvert::toLong(text))
            target = *v;
    } else if constexpr (std::is_same_v<T, float>) {
        if (const auto v = VbConvert::toSingle(text))
            target = *v;
    } else {
        target = text;
    }
}

QString toText(bool v) { return VbConvert::fromBoolean(v); }
QString toText(qint16 v) { return VbConvert::fromInteger(v); }
QString toText(qint32 v) { return VbConvert::fromInteger(v); }
QString toText(float v) { return VbConvert::fromSingle(v); }
QString toText(const QString &v) { return v; }

// A password as the store should hold it: digests stay, a plain value becomes its digest.
QString loadPassword(SettingsStore &store, const QString &section, const QString &key)
{
    const QString stored = store.read(section, key, QString());
    if (stored.isEmpty() || PasswordDigest::isDigest(stored))
        return stored;
    const QString digest = PasswordDigest::make(stored);
    store.write(section, key, digest);
    return digest;
}

} // namespace

const std::vector<SettingsModel::Key> &SettingsModel::plainKeys()
{
    static const std::vector<Key> keys = [] {
        const QString t = QStringLiteral("True"), f = QStringLiteral("False");
        std::vector<Key> k = {
            {"Settings", "MainLeft", &M::MainLeft, QStringLiteral("1000")},
            {"Settings", "MainTop", &M::MainTop, QStringLiteral("1000")},
            {"Settings", "MainWidth", &M::MainWidth, QStringLiteral("6500")},
            {"Settings", "MainHeight", &M::MainHeight, QStringLiteral("6500")},
            {"Settings", "MainMaximized", &M::MainMaximized, t},
            {"Settings", "BrowseToolbarVisible", &M::BrowseToolbarVisible, t},
            {"Settings", "AddressBarVisible", &M::AddressBarVisible, t},
            {"Settings", "TabsBarVisible", &M::TabsBarVisible, t},
            {"Settings", "StatusBarVisible", &M::StatusBarVisible, t},
            {"Settings", "GoNew", &M::GoNew, f},
            {"Settings", "CurrentSearchEngine", &M::CurrentSearchEngine, QStringLiteral("0")},
            {"General", "SaveDocumentOnExit", &M::SaveDocumentOnExit, t},
            {"General", "LoadAction", &M::LoadAction, QStringLiteral("2")},
            {"General", "MinimizeToTray", &M::MinimizeToTray, t},
            {"General", "CheckIfDefault", &M::CheckIfDefault, t},
            {"General", "CheckForUpdate", &M::CheckForUpdate, t},
            {"History", "CleanAddress", &M::CleanAddress, f},
            {"History", "CleanSearch", &M::CleanSearch, f},
            {"History", "CleanCookies", &M::CleanCookies, f},
            {"History", "CleanHistory", &M::CleanHistory, f},
            {"History", "CleanTemp", &M::CleanTemp, f},
            {"Sites", "SitesHome1", &M::SitesHome1, defaultSitesHome1()},
            {"Sites", "SitesHome2", &M::SitesHome2, defaultSitesHome2()},
            {"Sites", "SitesSearch", &M::SitesSearch, defaultSitesSearch()},
            {"Sites", "SitesNews", &M::SitesNews, defaultSitesNews()},
            {"Sites", "SitesMail", &M::SitesMail, defaultSitesMail()},
            {"Sidebar", "EnableSidebar", &M::EnableSidebar, t},
            {"Sidebar", "QNFontName", &M::QNFontName, QStringLiteral("Verdana")},
            {"Sidebar", "QNFontSize", &M::QNFontSize, QStringLiteral("10")},
            {"Sidebar", "QNColor", &M::QNColor, QStringLiteral("&H00FF6666")},
            {"Sidebar", "QNBold", &M::QNBold, f},
            {"Sidebar", "QNItalic", &M::QNItalic, f},
            {"Sidebar", "QNUnderline", &M::QNUnderline, f},
            {"Sidebar", "FavRefresh", &M::FavRefresh, QStringLiteral("10")},
            {"Sidebar", "HistRefresh", &M::HistRefresh, QStringLiteral("10")},
            {"Settings", "SitesToolbarVisible", &M::SitesToolbarVisible, f},
            {"Control", "ControlNavNew", &M::ControlNavNew, f},
            {"Control", "ControlSitesNew", &M::ControlSitesNew, t},
            {"Control", "ControlFavNew", &M::ControlFavNew, f},
            {"Control", "ControlHistNew", &M::ControlHistNew, f},
            {"Control", "ControlLeft", &M::ControlLeft, QStringLiteral("0")},
            {"Control", "ControlShiftLeft", &M::ControlShiftLeft, QStringLiteral("4")},
            {"Control", "ControlRight", &M::ControlRight, QStringLiteral("1")},
            {"Control", "ControlShiftRight", &M::ControlShiftRight, QStringLiteral("3")},
            {"Control", "ControlDouble", &M::ControlDouble, QStringLiteral("2")},
            {"Content", "EnableImages", &M::EnableImages, t},
            {"Content", "EnableSound", &M::EnableSound, t},
            {"Content", "EnableVideo", &M::EnableVideo, t},
            {"Content", "EnableScripts", &M::EnableScripts, t},
            {"Content", "EnableJava", &M::EnableJava, t},
            {"Content", "EnableActiveXDL", &M::EnableActiveXDL, t},
            {"Content", "EnableActiveXRUN", &M::EnableActiveXRUN, t},
            {"Content", "EnableFlash", &M::EnableFlash, t},
            {"Content", "SuppressErrors", &M::SuppressErrors, t},
            {"Content", "SuppressScriptErrors", &M::SuppressScriptErrors, t},
            {"Forms", "AutoFormFill", &M::AutoFormFill, t},
            {"Forms", "ProtectCreditInfo", &M::ProtectCreditInfo, f},
            {"Popup", "PopupKillerEnable", &M::PopupKillerEnable, t},
            {"Popup", "PopupAltEnable", &M::PopupAltEnable, t},
            {"Popup", "PopupChangeMouse", &M::PopupChangeMouse, t},
            {"Popup", "PopupPlaySound", &M::PopupPlaySound, t},
            {"Popup", "PopupSoundFile", &M::PopupSoundFile, Paths::assetFile(QStringLiteral("popup.wav"))},
            {"Popup", "PopupAutoWhitelistAdd", &M::PopupAutoWhitelistAdd, QStringLiteral("1")},
            {"Popup", "PopupPromptWhitelist", &M::PopupPromptWhitelist, t},
            {"RSS", "RSSStartupCheck", &M::RSSStartupCheck, t},
            {"RSS", "RSSAutoCheckMinutes", &M::RSSAutoCheckMinutes, QStringLiteral("30")},
            {"RSS", "RSSTimeoutSec", &M::RSSTimeoutSec, QStringLiteral("0")},
            {"RSS", "RSSProxyServer", &M::RSSProxyServer, QString()},
            {"RSS", "ReadDeleteDays", &M::ReadDeleteDays, QStringLiteral("1")},
            {"RSS", "UnreadDeleteDays", &M::UnreadDeleteDays, QStringLiteral("3")},
            {"Gestures", "MouseUp", &M::MouseUp, QStringLiteral("3")},
            {"Gestures", "MouseDown", &M::MouseDown, QStringLiteral("4")},
            {"Gestures", "MouseRight", &M::MouseRight, QStringLiteral("2")},
            {"Gestures", "MouseLeft", &M::MouseLeft, QStringLiteral("1")},
            {"Gestures", "MouseUpRight", &M::MouseUpRight, QStringLiteral("10")},
            {"Gestures", "MouseUpLeft", &M::MouseUpLeft, QStringLiteral("0")},
            {"Gestures", "MouseDownRight", &M::MouseDownRight, QStringLiteral("0")},
            {"Gestures", "MouseDownLeft", &M::MouseDownLeft, QStringLiteral("0")},
            {"Gestures", "MouseRightUp", &M::MouseRightUp, QStringLiteral("0")},
            {"Gestures", "MouseRightDown", &M::MouseRightDown, QStringLiteral("0")},
            {"Gestures", "MouseLeftUp", &M::MouseLeftUp, QStringLiteral("0")},
            {"Gestures", "MouseLeftDown", &M::MouseLeftDown, QStringLiteral("0")},
        };
        return k;
    }();
    return keys;
}

QString SettingsModel::defaultSitesHome1() { return QStringLiteral("about:blank"); }
QString SettingsModel::defaultSitesHome2() { return QStringLiteral("https://www.wikipedia.org/"); }
QString SettingsModel::defaultSitesSearch() { return QStringLiteral("https://duckduckgo.com/"); }
QString SettingsModel::defaultSitesNews() { return QStringLiteral("https://www.reuters.com/"); }
QString SettingsModel::defaultSitesMail() { return QStringLiteral("https://mail.proton.me/"); }

void SettingsModel::load(SettingsStore &store, const LoadContext &context)
{
    for (const Key &k : plainKeys()) {
        const QString section = QLatin1String(k.section), key = QLatin1String(k.key);
        std::visit([&](auto member) { readInto(store, section, key, k.defaultText, this->*member); },
                   k.member);
    }

    // The palette keeps its place unless the store says otherwise.
    readInto(store, kSettings, QStringLiteral("NavigatorLeft"), toText(NavigatorLeft), NavigatorLeft);
    readInto(store, kSettings, QStringLiteral("NavigatorTop"), toText(NavigatorTop), NavigatorTop);
    readInto(store, kSettings, QStringLiteral("NavigatorWidth"), toText(NavigatorWidth), NavigatorWidth);
    readInto(store, kSettings, QStringLiteral("NavigatorHeight"), toText(NavigatorHeight), NavigatorHeight);

    // Typed addresses: every entry goes to the top, so the one read last ends up first.
    TypedAddresses.clear();
    qint16 historyCount = 0;
    readInto(store, kSettings, QStringLiteral("HistoryCount"), QStringLiteral("0"), historyCount);
    for (qint16 i = 1; i <= historyCount && i > 0; ++i)
        TypedAddresses.prepend(store.read(kSettings, keyed("HistorySite", i), QStringLiteral("0")));

    // After a crash, "load all saved pages" becomes "ask".
    if (context.prevSessionCrashed && LoadAction == 1)
        LoadAction = 2;

    TrayPassword = loadPassword(store, QStringLiteral("General"), QStringLiteral("TrayPassword"));
    CreditInfoPassword = loadPassword(store, QStringLiteral("Forms"), QStringLiteral("CreditInfoPassword"));

    if (QNFontName.isEmpty())
        QNFontName = QStringLiteral("Verdana");

    // Custom links; -1 means no list was ever saved: take the Links favorites folder's.
    readInto(store, kCustomLinks, QStringLiteral("CustomLinksCount"), QStringLiteral("-1"),
             CustomLinksCount);
    CustomLinksName.clear();
    CustomLinksURL.clear();
    if (CustomLinksCount == -1) {
        const qsizetype n = qMin(context.ieLinksName.size(), context.ieLinksURL.size());
        CustomLinksCount = qint16(n);
        CustomLinksName = context.ieLinksName.mid(0, n);
        CustomLinksURL = context.ieLinksURL.mid(0, n);
    } else if (CustomLinksCount < 0) {
        CustomLinksCount = 0; // a damaged count: no list rather than a negative one
    } else {
        for (qint16 i = 1; i <= CustomLinksCount && i > 0; ++i) {
            CustomLinksName.append(store.read(kCustomLinks, keyed("CustomLinksName", i), QString()));
            CustomLinksURL.append(store.read(kCustomLinks, keyed("CustomLinksURL", i), QString()));
        }
    }
}

void SettingsModel::loadSkins(const SettingsStore &store)
{
    CurrentSkin = store.read(kSkins, QStringLiteral("CurrentSkin"), QStringLiteral("daybreak"));
    ToolbarLargeBitmap = store.read(kSkins, QStringLiteral("ToolbarLargeBitmap"),
                                    Paths::assetFile(QStringLiteral("nav_24h.bmp")));
    ToolbarSmallBitmap = store.read(kSkins, QStringLiteral("ToolbarSmallBitmap"),
                                    Paths::assetFile(QStringLiteral("nav_16h.bmp")));
}

void SettingsModel::save(SettingsStore &store, const SaveContext &context) const
{
    SettingsStore::Batch batch(store);
    static const QStringList geometryKeys = {
        QStringLiteral("MainLeft"),     QStringLiteral("MainTop"),
        QStringLiteral("MainWidth"),    QStringLiteral("MainHeight"),
        QStringLiteral("MainMaximized"),
    };

    // Typed addresses, from the last entry of the list upwards, empty ones skipped.
    int count = 0;
    for (qsizetype p = TypedAddresses.size() - 1; p >= 0 && count < kMaxTypedAddresses; --p) {
        if (TypedAddresses[p].isEmpty())
            continue;
        ++count;
        store.write(kSettings, keyed("HistorySite", count), TypedAddresses[p]);
    }
    store.write(kSettings, QStringLiteral("HistoryCount"), toText(qint16(count)));

    // Window geometry only in the normal state; the palette unless minimised.
    if (context.windowState == WindowState::Normal) {
        for (int i = 0; i < 4; ++i) {
            const float *value[] = {&MainLeft, &MainTop, &MainWidth, &MainHeight};
            store.write(kSettings, geometryKeys[i], toText(*value[i]));
        }
    }
    if (context.windowState != WindowState::Minimized) {
        store.write(kSettings, QStringLiteral("NavigatorLeft"), toText(NavigatorLeft));
        store.write(kSettings, QStringLiteral("NavigatorTop"), toText(NavigatorTop));
        store.write(kSettings, QStringLiteral("NavigatorWidth"), toText(NavigatorWidth));
        store.write(kSettings, QStringLiteral("NavigatorHeight"), toText(NavigatorHeight));
    }
    store.write(kSettings, QStringLiteral("MainMaximized"),
                toText(context.windowState == WindowState::Maximized));

    for (const Key &k : plainKeys()) {
        const QString section = QLatin1String(k.section), key = QLatin1String(k.key);
        if (section == kSettings && geometryKeys.contains(key))
            continue;
        std::visit([&](auto member) { store.write(section, key, toText(this->*member)); }, k.member);
    }

    store.write(QStringLiteral("General"), QStringLiteral("TrayPassword"), TrayPassword);
    store.write(QStringLiteral("Forms"), QStringLiteral("CreditInfoPassword"), CreditInfoPassword);

    store.write(kCustomLinks, QStringLiteral("CustomLinksCount"), toText(CustomLinksCount));
    for (qsizetype i = 0; i < CustomLinksCount; ++i) {
        store.write(kCustomLinks, keyed("CustomLinksName", i + 1), CustomLinksName.value(i));
        store.write(kCustomLinks, keyed("CustomLinksURL", i + 1), CustomLinksURL.value(i));
    }

    store.write(kSkins, QStringLiteral("CurrentSkin"), context.nextSkin);
    store.write(kSkins, QStringLiteral("ToolbarLargeBitmap"), ToolbarLargeBitmap);
    store.write(kSkins, QStringLiteral("ToolbarSmallBitmap"), ToolbarSmallBitmap);
}

bool SettingsModel::readBoolean(const SettingsStore &store, const QString &section,
                                const QString &key, bool defaultValue)
{
    bool value = false;
    readInto(store, section, key, toText(defaultValue), value);
    return value;
}

qint16 SettingsModel::readInteger(const SettingsStore &store, const QString &section,
                                  const QString &key, qint16 defaultValue)
{
    qint16 value = 0;
    readInto(store, section, key, toText(defaultValue), value);
    return value;
}

bool SettingsModel::writeBoolean(SettingsStore &store, const QString &section, const QString &key,
                                 bool value)
{
    return store.write(section, key, toText(value));
}
