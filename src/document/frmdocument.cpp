#include "frmdocument.h"

#include "core/maincode.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "documentrules.h"
#include "frame/dtabcontrol.h"
#include "frame/frmmain.h"
#include "frame/frmnavigator.h"
#include "frmfirstformfill.h"
#include "historystore.h"
#include "popupkiller.h"
#include "platform/wbcustomizer.h"
#include "platform/webbrowser.h"
#include "widgets/cnostatusbar.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>

using namespace DocumentRules;

frmDocument::frmDocument(frmMain *frame, QWidget *parent) : QWidget(parent), m_frame(frame)
{
    setObjectName(QStringLiteral("frmDocument"));
    setWindowTitle(QStringLiteral("No Title"));
    LoadResStrings(this);
    bTabAlreadyDeleted = false;

    ++MainCode::OpenDocuments;
    if (m_frame)
        m_frame->ModifyMenu();

    WebBro = new WebBrowser(this);
    WebBro->setObjectName(QStringLiteral("WebBrowser"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(WebBro);
    setFocusProxy(WebBro);

    WebBro->Silent = MainCode::Settings.SuppressErrors;
    SetDownloadOptions();

    CustomWB = new WBCustomizer(this);
    CustomWB->attach(WebBro->page());
    CustomWB->OpenDataFile(Paths::dataFile(QStringLiteral("form.bin")));

    connect(WebBro, &WebBrowser::BeforeNavigate2, this, &frmDocument::WebBro_BeforeNavigate2);
    connect(WebBro, &WebBrowser::ProgressChange, this, &frmDocument::WebBro_ProgressChange);
    connect(WebBro, &WebBrowser::TitleChange, this, &frmDocument::WebBro_TitleChange);
    connect(WebBro, &WebBrowser::StatusTextChange, this, &frmDocument::WebBro_StatusTextChange);
    connect(WebBro, &WebBrowser::SetSecureLockIcon, this, &frmDocument::WebBro_SetSecureLockIcon);
    connect(WebBro, &WebBrowser::NewWindow2, this, &frmDocument::WebBro_NewWindow2);
    connect(WebBro, &WebBrowser::WindowClosing, this, &frmDocument::WebBro_WindowClosing);
    connect(WebBro, &WebBrowser::DocumentComplete, this, &frmDocument::onDocumentComplete);

    Highlight.setInterval(700);
    connect(&Highlight, &QTimer::timeout, this, &frmDocument::Highlight_Timer);

    // Automatic refresh reloads past the cache.
    connect(&tmrAutoRefresh, &AutoRefresh::Refresh, this, [this] { WebBro->Refresh2(3); });

    // After a killed popup the page stays silent for a moment; then the user's choice returns.
    tmrSilent.setInterval(100);
    tmrSilent.setSingleShot(true);
    connect(&tmrSilent, &QTimer::timeout, this,
            [this] { SilentDoc(MainCode::Settings.SuppressErrors); });

    m_popupKiller = new PopupKiller(this);
    if (m_frame) {
        QPointer<frmMain> frame = m_frame;
        connect(m_popupKiller, &PopupKiller::SetItem4Icon, this, [frame](int icon) {
            if (frame)
                frame->m_cStatusBar->setPanelIcon(QStringLiteral("Item4"), icon);
        });
        m_popupKiller->Item4Icon = [frame] {
            return frame ? frame->m_cStatusBar->PanelIcon(QStringLiteral("Item4")) : -1;
        };
    }
}

frmDocument::~frmDocument()
{
    Form_Unload();
}

int frmDocument::Position() const
{
    return WebBro ? WebBro->Tag.toInt() : 0;
}

void frmDocument::SetDownloadOptions()
{
    const SettingsModel &s = MainCode::Settings;
    int flags = 0;
    if (s.EnableImages)
        flags |= WebBrowser::DLCTL_DLIMAGES;
    if (s.EnableSound)
        flags |= WebBrowser::DLCTL_BGSOUNDS;
    if (s.EnableVideo)
        flags |= WebBrowser::DLCTL_VIDEOS;
    if (!s.EnableScripts)
        flags |= WebBrowser::DLCTL_NO_SCRIPTS;
    if (!s.EnableJava)
        flags |= WebBrowser::DLCTL_NO_JAVA;
    if (!s.EnableActiveXDL)
        flags |= WebBrowser::DLCTL_NO_DLACTIVEXCTLS;
    if (!s.EnableActiveXRUN)
        flags |= WebBrowser::DLCTL_NO_RUNACTIVEXCTLS;
    if (!s.EnableFlash)
        flags |= WebBrowser::DLCTL_NO_PLUGINS;
    WebBro->setDownloadControl(flags);
}

void frmDocument::ModifyTabCaption(int tabPosition, const QString &title)
{
    if (!m_frame)
        return;
    vbalDTabControl *tabs = m_frame->vbalDTabControl1;
    if (tabPosition < 1 || tabPosition > tabs->Count())
        return;
    const bool shrunk = tabs->Shrunk(tabPosition);
    tabs->SetCaption(tabPosition, TabCaption(title, shrunk));
    tabs->SetIconIndex(tabPosition, IconForShrink(tabs->IconIndex(tabPosition), shrunk));
}

QString frmDocument::LocationURL() const
{
    return WebBro ? WebBro->LocationURL() : QString();
}

QString frmDocument::LocationName() const
{
    return WebBro ? WebBro->LocationName() : QString();
}

void frmDocument::RefreshDoc(int level)
{
    WebBro->Refresh2(level);
}

void frmDocument::StopDoc()
{
    WebBro->Stop();
}

void frmDocument::NavigateDoc(const QString &address)
{
    WebBro->Navigate2(address);
}

void frmDocument::SilentDoc(bool silent)
{
    WebBro->Silent = silent;
}

void frmDocument::GoBackDoc()
{
    WebBro->GoBack();
}

void frmDocument::GoForwardDoc()
{
    WebBro->GoForward();
}

void frmDocument::RegisterAsBrowser(bool on)
{
    WebBro->RegisterAsBrowser = on;
}

void frmDocument::ExecWBDoc(int command, int option, const QVariant &in, QVariant *out)
{
    WebBro->ExecWB(command, option, in, out);
}

void frmDocument::Exec(int group, int command)
{
    WebBro->Exec(group, command);
}

void frmDocument::Form_Activate()
{
    if (!m_frame || m_unloaded)
        return;
    bActive = true;
    const int k = Position();
    frmNavigator *navigator = m_frame->Navigator();
    navigator->SetRowBold(k, true);
    vbalDTabControl *tabs = m_frame->vbalDTabControl1;
    tabs->Tag = QStringLiteral("1");
    tabs->SetSelected(k);
    tabs->Tag = QStringLiteral("0");
    m_frame->SetAddressText(LocationURL());
    m_frame->SetStatusText(QString());
    m_frame->SetProgressTag(QString::number(nProgress));
    m_frame->SetSecureIcon(bSecurePage);
    WebBro->setFocus();
    WebBro->Silent = MainCode::Settings.SuppressErrors;
    // The blink of a background completion ends when the tab is looked at.
    if (Highlight.isActive())
        Highlight_Timer();
}

void frmDocument::Form_Deactivate()
{
    bActive = false;
    if (m_frame && !m_unloaded)
        m_frame->Navigator()->SetRowBold(Position(), false);
}

void frmDocument::WebBro_BeforeNavigate2(const QString &url, bool mainFrame, bool &cancel)
{
    if (url.right(11).toUpper() == QLatin1String("ENABLEFLASH")) {
        cancel = true;
        if (m_frame)
            QMetaObject::invokeMethod(m_frame, &frmMain::mnuContentFlash, Qt::QueuedConnection);
    }
    if (!mainFrame)
        return;
    bJavaScriptLink = url.left(11).toUpper() == QLatin1String("JAVASCRIPT:");
    SetDownloadOptions();
    if (bActive && m_frame && !m_frame->g_Focus && !bJavaScriptLink && !cancel)
        m_frame->SetAddressText(url);
}

void frmDocument::WebBro_ProgressChange(int progress, int progressMax)
{
    if (!m_frame || m_unloaded)
        return;
    const int percent = ProgressPercent(progress, progressMax);
    if (percent < 0)
        return;
    nProgress = percent;
    const int k = Position();
    frmNavigator *navigator = m_frame->Navigator();
    vbalDTabControl *tabs = m_frame->vbalDTabControl1;
    if (progressMax != 0) {
        if (bActive)
            m_frame->SetProgressTag(QString::number(nProgress));
        navigator->SetRowStatus(k, ProgressText(nProgress));
        if (k >= 1 && k <= tabs->Count())
            tabs->SetIconIndex(k, LoadingIcon(nProgress, tabs->Shrunk(k), tabs->IconIndex(k)));
        return;
    }

    // Completed.
    if (bActive)
        m_frame->SetProgressTag(QStringLiteral("0"));
    const SettingsModel &s = MainCode::Settings;
    const bool protect = s.ProtectCreditInfo && !MainCode::CreditInfoUnlocked;
    CustomWB->CardProtection = protect;
    if (s.AutoFormFill) {
        QPointer<frmDocument> self(this);
        CustomWB->FillForm(protect, [self](bool filled) {
            if (!self || !filled)
                return;
            SettingsStore &store = SettingsStore::instance();
            const QString forms = QStringLiteral("Forms");
            if (!SettingsModel::readBoolean(store, forms, QStringLiteral("FirstFormFill"), true))
                return;
            SettingsModel::writeBoolean(store, forms, QStringLiteral("FirstFormFill"), false);
            // Shown once the engine's callback has returned.
            QMetaObject::invokeMethod(self, [self] {
                frmFirstFormFill notice(self);
                notice.exec();
            }, Qt::QueuedConnection);
        });
    }
    if (!s.EnableFlash)
        CustomWB->FlashFilter();
    if (s.SaveDocumentOnExit)
        m_frame->SaveAllDocuments();
    navigator->SetRowStatus(k, CompletedText());
    if (k >= 1 && k <= tabs->Count())
        tabs->SetIconIndex(k, tabs->Shrunk(k) ? kIconLoaded + 1 : kIconLoaded);
    if (!bActive) {
        Highlight.start();
    } else if (!m_frame->g_Focus) {
        m_frame->SetAddressText(LocationURL());
    }
    bJavaScriptLink = false;
}

void frmDocument::onDocumentComplete(const QString &url, const QString &title, bool ok)
{
    if (ok)
        HistoryStore::instance().AddVisit(url, title);
}

void frmDocument::WebBro_TitleChange(const QString &text)
{
    if (!m_frame || m_unloaded)
        return;
    setWindowTitle(text);
    const int k = Position();
    m_frame->Navigator()->SetRowText(k, text);
    vbalDTabControl *tabs = m_frame->vbalDTabControl1;
    if (k >= 1 && k <= tabs->Count())
        tabs->SetToolTipText(k, text);
    ModifyTabCaption(k, text);
}

void frmDocument::WebBro_StatusTextChange(const QString &text)
{
    if (bActive && m_frame)
        m_frame->SetStatusText(text);
}

void frmDocument::WebBro_SetSecureLockIcon(int state)
{
    bSecurePage = state != 0;
    if (bActive && m_frame)
        m_frame->SetSecureIcon(bSecurePage);
}

void frmDocument::WebBro_NewWindow2(QWebEngineNewWindowRequest &request, bool &cancel)
{
    if (!m_frame)
        return;
    if (m_popupKiller->Decide(LocationURL(), bSecurePage, bJavaScriptLink,
                              CustomWB->PopupAllowed(request))) {
        cancel = true;
        m_popupKiller->PopupKilled();
        SilentDoc(true);
        tmrSilent.start();
        return;
    }
    m_frame->OpenPopup(request);
}

void frmDocument::WebBro_WindowClosing()
{
    // The page closes itself: unload after the engine's signal has returned.
    if (QWidget *window = parentWidget())
        QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void frmDocument::Highlight_Timer()
{
    if (!m_frame || m_unloaded) {
        Highlight.stop();
        return;
    }
    vbalDTabControl *tabs = m_frame->vbalDTabControl1;
    const int k = Position();
    const bool valid = k >= 1 && k <= tabs->Count();
    if (valid)
        tabs->SetIconIndex(k, BlinkIcon(tabs->IconIndex(k)));
    HighlightTag = QString::number(HighlightTag.toInt() + 1);
    if (HighlightTag.toInt() >= 8 || bActive) {
        Highlight.stop();
        HighlightTag = QStringLiteral("0");
        if (valid && tabs->IconIndex(k) >= kIconHighlighted)
            tabs->SetIconIndex(k, tabs->IconIndex(k) - 2);
    }
}

void frmDocument::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmDocument::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Highlight.stop();
    tmrAutoRefresh.SetEnabled(false);
    tmrSilent.stop();
    if (WebBro) {
        WebBro->disconnect(this);
        WebBro->Stop();
    }
    if (MainCode::OpenDocuments > 0)
        --MainCode::OpenDocuments;
    else
        MainCode::OpenDocuments = 0;
    if (!m_frame)
        return;
    m_frame->g_sLastClosedDocument = LocationURL();
    m_frame->DocumentUnloaded(this);
    if (CustomWB) {
        CustomWB->ClearValues();
        CustomWB->attach(nullptr);
    }
}
