#include "frmrsschannel.h"

#include "core/maincode.h"
#include "core/olecolor.h"
#include "core/strings.h"
#include "rsspanel.h"
#include "sidebarimages.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmRssChannel::frmRssChannel(RssPanel *owner, QWidget *parent)
    : QDialog(parent), m_owner(owner), m_fetcher(new FeedFetcher(this))
{
    setObjectName(QStringLiteral("frmRssChannel"));
    setProperty(kTagProperty, ResId(18002));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(twipsToPixels(6225), twipsToPixels(3345));

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(SidebarImages::Icon(QStringLiteral("feed")).pixmap(twipsToPixels(960)));
    Picture1->setFixedSize(twipsToPixels(960), twipsToPixels(960));
    Label12 = new QLabel(ResId(18002), this);
    Label12->setObjectName(QStringLiteral("Label12"));
    QFont heading(QStringLiteral("Tahoma"), 12);
    heading.setBold(true);
    Label12->setFont(heading);
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto label = [this](const char *name, int id) {
        auto *l = new QLabel(ResId(id), this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    auto button = [this](const char *name, int id) {
        auto *b = new QPushButton(ResId(id), this);
        b->setObjectName(QLatin1String(name));
        b->setProperty(kTagProperty, ResId(id));
        return b;
    };
    Label1 = label("Label1", 18003);
    txtURL = edit("txtURL");
    cmdRetrieve = button("cmdRetrieve", 18004);
    cmdRetrieve->setAutoDefault(false);
    Label2 = label("Label2", 18005);
    txtTitle = edit("txtTitle");
    Label3 = label("Label3", 18006);
    txtDesc = edit("txtDesc");
    cmdAdd = button("cmdAdd", 18007);
    cmdAdd->setDefault(true);
    cmdCancel = button("cmdCancel", 18008);
    cmdCancel->setAutoDefault(false);
    Label1->setBuddy(txtURL);
    Label2->setBuddy(txtTitle);
    Label3->setBuddy(txtDesc);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Picture1, 0, 0);
    grid->addWidget(Label12, 0, 1, 1, 2);
    grid->addWidget(line, 1, 0, 1, 3);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(txtURL, 2, 1);
    grid->addWidget(cmdRetrieve, 2, 2);
    grid->addWidget(Label2, 3, 0);
    grid->addWidget(txtTitle, 3, 1, 1, 2);
    grid->addWidget(Label3, 4, 0);
    grid->addWidget(txtDesc, 4, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 5, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    setTabOrder(txtURL, cmdRetrieve);
    setTabOrder(cmdRetrieve, txtTitle);
    setTabOrder(txtTitle, txtDesc);
    setTabOrder(txtDesc, cmdAdd);
    setTabOrder(cmdAdd, cmdCancel);

    connect(txtURL, &QLineEdit::textChanged, this, &frmRssChannel::txtURL_Change);
    connect(txtTitle, &QLineEdit::textChanged, this, &frmRssChannel::txtTitle_Change);
    connect(cmdRetrieve, &QPushButton::clicked, this, &frmRssChannel::cmdRetrieve_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmRssChannel::cmdAdd_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmRssChannel::cmdCancel_Click);
    connect(m_fetcher, &FeedFetcher::Finished, this, &frmRssChannel::fetched);
}

frmRssChannel::~frmRssChannel()
{
    setBusyCursor(false);
    if (m_loaded && !m_closed)
        MainCode::ModalDialogClosed = true;
}

void frmRssChannel::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        Form_Load();
    QDialog::showEvent(event);
}

void frmRssChannel::Form_Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_cancel = false;
    MainCode::ModalDialogClosed = false;
    if (bAddMode) {
        setProperty(kTagProperty, ResId(18002));
        Label12->setText(ResId(18002));
        SetUrlEditable(true);
        SetTitleEditable(false);
        cmdAdd->setEnabled(false);
        cmdRetrieve->setEnabled(false);
        txtURL->setFocus();
    } else {
        setProperty(kTagProperty, ResId(18011));
        Label12->setText(ResId(18011));
        SetUrlEditable(false);
        cmdAdd->setProperty(kTagProperty, ResId(18010));
        cmdAdd->setText(ResId(18010));
        txtTitle->setFocus();
    }
    LoadResStrings(this);
}

void frmRssChannel::SetUrlEditable(bool editable)
{
    QPalette palette = txtURL->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(editable ? QPalette::Base
                                                                            : QPalette::Button));
    txtURL->setPalette(palette);
    txtURL->setReadOnly(!editable);
}

void frmRssChannel::SetTitleEditable(bool editable)
{
    for (QLineEdit *box : {txtTitle, txtDesc}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, QApplication::palette().color(
                                             editable ? QPalette::Base : QPalette::Button));
        box->setPalette(palette);
        box->setReadOnly(!editable);
    }
}

void frmRssChannel::txtURL_Change()
{
    if (!bAddMode)
        return;
    // What was retrieved belongs to the address it came from.
    if (m_retrieved && txtURL->text() != m_record.FeedURL)
        m_retrieved = false;
    cmdRetrieve->setEnabled(!txtURL->text().isEmpty() && !m_retrieving && !m_adding);
    txtTitle_Change();
}

void frmRssChannel::txtTitle_Change()
{
    m_record.ChannelTitle = txtTitle->text();
    const bool filled = !txtTitle->text().isEmpty() && !txtURL->text().isEmpty();
    if (bAddMode)
        cmdAdd->setEnabled(filled && m_retrieved && !m_retrieving && !m_adding);
    else
        cmdAdd->setEnabled(filled);
}

void frmRssChannel::setBusyCursor(bool busy)
{
    if (busy == m_busyCursor)
        return;
    m_busyCursor = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmRssChannel::failed(const QString &description)
{
    if (m_owner)
        m_owner->ReportError(this, description);
}

void frmRssChannel::cmdRetrieve_Click()
{
    m_retrieved = false;
    cmdRetrieve->setEnabled(false);
    txtTitle_Change();
    const QString url = txtURL->text();
    if (url.isEmpty()) {
        cmdRetrieve->setEnabled(false);
        return;
    }
    setBusyCursor(true);
    m_retrieving = true;
    m_fetchUrl = url;
    if (!m_owner || !m_owner->cnn || m_owner->cnn->State() != 1) {
        // Without the database there is nothing to add to: the retrieve fails.
        m_fetcher->StartHttpGet(QString(), QString(), 0);
        return;
    }
    m_fetcher->StartHttpGet(url, MainCode::Settings.RSSProxyServer,
                            MainCode::Settings.RSSTimeoutSec);
}

void frmRssChannel::fetched(FeedFetcher::Result result)
{
    if (m_retrieving)
        retrieveDone(result);
    else if (m_adding)
        addDone(result);
}

void frmRssChannel::retrieveDone(FeedFetcher::Result result)
{
    m_retrieving = false;
    setBusyCursor(false);
    cmdRetrieve->setEnabled(!txtURL->text().isEmpty());
    if (m_cancel) {
        if (!m_closed)
            QDialog::reject();
        return;
    }
    bool ok = false;
    RssChannelInfo info;
    QString parseError;
    if (result == FeedFetcher::Ok && m_owner && m_owner->cnn)
        ok = RssFeed::RetrieveChannelInfo(m_fetcher->body(), info, &parseError);
    const QPointer<frmRssChannel> self(this);
    if (!parseError.isEmpty() && m_owner && !m_owner->Closing())
        failed(parseError);
    if (!self)
        return;
    if (ok) {
        m_retrieved = true;
        m_record.FeedURL = m_fetchUrl;
        m_record.ChannelDescription = info.ChannelDescription;
        m_record.ImageURL = info.ImageURL;
        m_record.FeedXML = info.FeedXML;
        txtTitle->setText(info.ChannelTitle);
        m_record.ChannelTitle = info.ChannelTitle;
        txtDesc->setText(info.ChannelDescription);
        SetTitleEditable(true);
        txtTitle_Change();
    } else {
        SetTitleEditable(false);
        failed(LoadResString(18012));
        if (!self)
            return;
    }
    emit RetrieveFinished(ok);
}

void frmRssChannel::cmdAdd_Click()
{
    if (!m_owner || !m_owner->cnn || m_owner->cnn->State() != 1) {
        failed(LoadResString(1200));
        return;
    }
    if (!bAddMode) {
        if (!m_owner->cnn->UpdateChannel(nChannelID, txtTitle->text(), txtDesc->text())) {
            failed(m_owner->cnn->LastError());
            return;
        }
        m_owner->FillChannelList();
        accept();
        return;
    }
    if (!m_retrieved || m_adding || m_retrieving)
        return;
    // The feed is read again: its items go into the new channel.
    m_adding = true;
    cmdAdd->setEnabled(false);
    cmdRetrieve->setEnabled(false);
    setBusyCursor(true);
    m_fetcher->StartHttpGet(m_record.FeedURL, MainCode::Settings.RSSProxyServer,
                            MainCode::Settings.RSSTimeoutSec);
}

void frmRssChannel::addDone(FeedFetcher::Result result)
{
    m_adding = false;
    setBusyCursor(false);
    if (m_cancel) {
        if (!m_closed)
            QDialog::reject();
        return;
    }
    const QPointer<frmRssChannel> self(this);
    auto stay = [this](const QString &description) {
        const QPointer<frmRssChannel> guard(this);
        failed(description);
        if (!guard)
            return;
        txtURL_Change();
        txtTitle_Change();
        emit AddFinished(0);
    };
    if (result != FeedFetcher::Ok || !m_owner || !m_owner->cnn) {
        stay(LoadResString(18012));
        return;
    }
    QString insertError, parseError;
    const qint32 id = RssFeed::AddChannel(*m_owner->cnn, m_fetcher->body(), m_record.FeedURL,
                                          txtTitle->text(), txtDesc->text(), &insertError,
                                          &parseError);
    if (id == RssFeed::kNoChannel) {
        stay(LoadResString(18012));
        return;
    }
    if (id == 0) {
        stay(insertError);
        return;
    }
    m_channelId = id;
    if (!parseError.isEmpty() && !m_owner->Closing())
        failed(parseError);
    if (!self)
        return;
    if (m_owner)
        m_owner->FillChannelList();
    emit AddFinished(id);
    accept();
}

void frmRssChannel::cmdCancel_Click()
{
    m_cancel = true;
    if (m_fetcher->IsRunning()) {
        setBusyCursor(false);
        hide();
        m_fetcher->Abort(); // its report closes the dialog
        if (!m_closed)
            QDialog::reject();
        return;
    }
    QDialog::reject();
}

void frmRssChannel::reject()
{
    cmdCancel_Click();
}

void frmRssChannel::Abort()
{
    cmdCancel_Click();
}

void frmRssChannel::done(int result)
{
    if (m_closed) {
        QDialog::done(result);
        return;
    }
    m_closed = true;
    m_cancel = true;
    if (m_fetcher->IsRunning())
        m_fetcher->Abort();
    setBusyCursor(false);
    if (m_loaded)
        MainCode::ModalDialogClosed = true;
    QDialog::done(result);
}
