#include "rsschanneldialog.h"

#include "core/fixeddialog.h"
#include "core/appstate.h"
#include "core/storedcolor.h"
#include "core/strings.h"
#include "rssdatabase.h"
#include "sidebarimages.h"
#include "widgets/dialogbuttonrow.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

RssChannelDialog::RssChannelDialog(std::function<RssDatabase *()> database,
                                   std::function<bool()> ownerClosing, QWidget *parent)
    : QDialog(parent), m_database(std::move(database)), m_ownerClosing(std::move(ownerClosing)),
      m_fetcher(new FeedFetcher(this))
{
    setObjectName(QStringLiteral("frmRssChannel"));
    setProperty(kTagProperty, resId(18002));
    resize(twipsToPixels(6225), twipsToPixels(3345));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Picture1"));
    icon->setPixmap(SidebarImages::icon(QStringLiteral("feed")).pixmap(twipsToPixels(960)));
    icon->setFixedSize(twipsToPixels(960), twipsToPixels(960));
    m_heading = new QLabel(resId(18002), this);
    m_heading->setObjectName(QStringLiteral("Label12"));
    QFont heading(QStringLiteral("Tahoma"), 12);
    heading.setBold(true);
    m_heading->setFont(heading);
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto label = [this](const char *name, int id) {
        auto *l = new QLabel(resId(id), this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    auto button = [this](const char *name, int id) {
        auto *b = new QPushButton(resId(id), this);
        b->setObjectName(QLatin1String(name));
        b->setProperty(kTagProperty, resId(id));
        return b;
    };
    auto *urlLabel = label("Label1", 18003);
    m_urlEdit = edit("txtURL");
    m_retrieveButton = button("cmdRetrieve", 18004);
    m_retrieveButton->setAutoDefault(false);
    auto *titleLabel = label("Label2", 18005);
    m_titleEdit = edit("txtTitle");
    auto *descriptionLabel = label("Label3", 18006);
    m_descriptionEdit = edit("txtDesc");
    const DialogButtonRow buttons(this, {"cmdAdd", 18007}, {"cmdCancel", 18008});
    m_addButton = buttons.accept;
    QPushButton *cancelButton = buttons.reject;
    cancelButton->setAutoDefault(false);
    urlLabel->setBuddy(m_urlEdit);
    titleLabel->setBuddy(m_titleEdit);
    descriptionLabel->setBuddy(m_descriptionEdit);

    auto *grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0);
    grid->addWidget(m_heading, 0, 1, 1, 2);
    grid->addWidget(line, 1, 0, 1, 3);
    grid->addWidget(urlLabel, 2, 0);
    grid->addWidget(m_urlEdit, 2, 1);
    grid->addWidget(m_retrieveButton, 2, 2);
    grid->addWidget(titleLabel, 3, 0);
    grid->addWidget(m_titleEdit, 3, 1, 1, 2);
    grid->addWidget(descriptionLabel, 4, 0);
    grid->addWidget(m_descriptionEdit, 4, 1, 1, 2);
    grid->addLayout(buttons.row, 5, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    setTabOrder(m_urlEdit, m_retrieveButton);
    setTabOrder(m_retrieveButton, m_titleEdit);
    setTabOrder(m_titleEdit, m_descriptionEdit);
    setTabOrder(m_descriptionEdit, m_addButton);
    setTabOrder(m_addButton, cancelButton);

    connect(m_urlEdit, &QLineEdit::textChanged, this, &RssChannelDialog::onUrlEdited);
    connect(m_titleEdit, &QLineEdit::textChanged, this, &RssChannelDialog::onTitleEdited);
    connect(m_retrieveButton, &QPushButton::clicked, this, &RssChannelDialog::onRetrieveClicked);
    connect(m_addButton, &QPushButton::clicked, this, &RssChannelDialog::onAddClicked);
    connect(cancelButton, &QPushButton::clicked, this, &RssChannelDialog::onCancelClicked);
    connect(m_fetcher, &FeedFetcher::finished, this, &RssChannelDialog::fetched);
    makeFixedDialog(this);
}

RssChannelDialog::~RssChannelDialog()
{
    setBusyCursor(false);
}

void RssChannelDialog::setForAdding()
{
    m_addMode = true;
}

void RssChannelDialog::setForEditing(qint32 channelId, const QString &url, const QString &title,
                                     const QString &description)
{
    m_addMode = false;
    m_channelToEdit = channelId;
    m_urlEdit->setText(url);
    m_titleEdit->setText(title);
    m_descriptionEdit->setText(description);
}

void RssChannelDialog::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        loadChannel();
    QDialog::showEvent(event);
}

void RssChannelDialog::loadChannel()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_cancel = false;
    if (m_addMode) {
        setProperty(kTagProperty, resId(18002));
        m_heading->setText(resId(18002));
        setUrlEditable(true);
        setTitleEditable(false);
        m_addButton->setEnabled(false);
        m_retrieveButton->setEnabled(false);
        m_urlEdit->setFocus();
    } else {
        setProperty(kTagProperty, resId(18011));
        m_heading->setText(resId(18011));
        setUrlEditable(false);
        m_addButton->setProperty(kTagProperty, resId(18010));
        m_addButton->setText(resId(18010));
        m_titleEdit->setFocus();
    }
    loadResStrings(this);
}

void RssChannelDialog::setUrlEditable(bool editable)
{
    QPalette palette = m_urlEdit->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(editable ? QPalette::Base
                                                                            : QPalette::Button));
    m_urlEdit->setPalette(palette);
    m_urlEdit->setReadOnly(!editable);
}

void RssChannelDialog::setTitleEditable(bool editable)
{
    for (QLineEdit *box : {m_titleEdit, m_descriptionEdit}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, QApplication::palette().color(
                                             editable ? QPalette::Base : QPalette::Button));
        box->setPalette(palette);
        box->setReadOnly(!editable);
    }
}

void RssChannelDialog::onUrlEdited()
{
    if (!m_addMode)
        return;
    // What was retrieved belongs to the address it came from.
    if (m_retrieved && m_urlEdit->text() != m_record.feedUrl)
        m_retrieved = false;
    m_retrieveButton->setEnabled(!m_urlEdit->text().isEmpty() && !m_retrieving && !m_adding);
    onTitleEdited();
}

void RssChannelDialog::onTitleEdited()
{
    m_record.channelTitle = m_titleEdit->text();
    const bool filled = !m_titleEdit->text().isEmpty() && !m_urlEdit->text().isEmpty();
    if (m_addMode)
        m_addButton->setEnabled(filled && m_retrieved && !m_retrieving && !m_adding);
    else
        m_addButton->setEnabled(filled);
}

void RssChannelDialog::setBusyCursor(bool busy)
{
    if (busy == m_busyCursor)
        return;
    m_busyCursor = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void RssChannelDialog::failed(const QString &description)
{
    emit errorOccurred(description);
}

RssDatabase *RssChannelDialog::database() const
{
    return m_database ? m_database() : nullptr;
}

bool RssChannelDialog::ownerClosing() const
{
    return m_ownerClosing && m_ownerClosing();
}

void RssChannelDialog::onRetrieveClicked()
{
    m_retrieved = false;
    m_retrieveButton->setEnabled(false);
    onTitleEdited();
    const QString url = m_urlEdit->text();
    if (url.isEmpty()) {
        m_retrieveButton->setEnabled(false);
        return;
    }
    setBusyCursor(true);
    m_retrieving = true;
    m_fetchUrl = url;
    const RssDatabase *db = database();
    if (!db || !db->isOpen()) {
        // Without the database there is nothing to add to: the retrieve fails.
        m_fetcher->startHttpGet(QString(), QString(), 0);
        return;
    }
    m_fetcher->startHttpGet(url, AppState::settings.rssProxyServer,
                            AppState::settings.rssTimeoutSec);
}

void RssChannelDialog::fetched(FeedFetcher::Result result)
{
    if (m_retrieving)
        retrieveDone(result);
    else if (m_adding)
        addDone(result);
}

void RssChannelDialog::retrieveDone(FeedFetcher::Result result)
{
    m_retrieving = false;
    setBusyCursor(false);
    m_retrieveButton->setEnabled(!m_urlEdit->text().isEmpty());
    if (m_cancel) {
        if (!m_closed)
            QDialog::reject();
        return;
    }
    bool ok = false;
    RssChannelInfo info;
    QString parseError;
    if (result == FeedFetcher::Ok && database())
        ok = RssFeed::retrieveChannelInfo(m_fetcher->document(), info, &parseError);
    const QPointer<RssChannelDialog> self(this);
    if (!parseError.isEmpty() && !ownerClosing())
        failed(parseError);
    if (!self)
        return;
    if (ok) {
        m_retrieved = true;
        m_record.feedUrl = m_fetchUrl;
        m_record.channelDescription = info.channelDescription;
        m_record.imageUrl = info.imageUrl;
        // The document's text is not kept: Add reads the feed again.
        m_titleEdit->setText(info.channelTitle);
        m_record.channelTitle = info.channelTitle;
        m_descriptionEdit->setText(info.channelDescription);
        setTitleEditable(true);
        onTitleEdited();
    } else {
        setTitleEditable(false);
        failed(loadResString(18012));
        if (!self)
            return;
    }
    emit retrieveFinished(ok);
}

void RssChannelDialog::onAddClicked()
{
    RssDatabase *db = database();
    if (!db || !db->isOpen()) {
        failed(loadResString(1200));
        return;
    }
    if (!m_addMode) {
        if (!db->updateChannel(m_channelToEdit, m_titleEdit->text(), m_descriptionEdit->text())) {
            failed(db->lastError());
            return;
        }
        emit channelsChanged();
        accept();
        return;
    }
    if (!m_retrieved || m_adding || m_retrieving)
        return;
    // The feed is read again: its items go into the new channel.
    m_adding = true;
    m_addButton->setEnabled(false);
    m_retrieveButton->setEnabled(false);
    setBusyCursor(true);
    m_fetcher->startHttpGet(m_record.feedUrl, AppState::settings.rssProxyServer,
                            AppState::settings.rssTimeoutSec);
}

void RssChannelDialog::addDone(FeedFetcher::Result result)
{
    m_adding = false;
    setBusyCursor(false);
    if (m_cancel) {
        if (!m_closed)
            QDialog::reject();
        return;
    }
    const QPointer<RssChannelDialog> self(this);
    auto stay = [this](const QString &description) {
        const QPointer<RssChannelDialog> guard(this);
        failed(description);
        if (!guard)
            return;
        onUrlEdited();
        onTitleEdited();
        emit addFinished(0);
    };
    RssDatabase *db = database();
    if (result != FeedFetcher::Ok || !db) {
        stay(loadResString(18012));
        return;
    }
    QString insertError, parseError;
    const qint32 id = RssFeed::addChannel(*db, m_fetcher->document(), m_record.feedUrl,
                                          m_titleEdit->text(), m_descriptionEdit->text(), &insertError,
                                          &parseError);
    if (id == RssFeed::kNoChannel) {
        stay(loadResString(18012));
        return;
    }
    if (id == 0) {
        stay(insertError);
        return;
    }
    if (!parseError.isEmpty() && !ownerClosing())
        failed(parseError);
    if (!self)
        return;
    emit channelsChanged();
    emit addFinished(id);
    accept();
}

void RssChannelDialog::onCancelClicked()
{
    m_cancel = true;
    if (m_fetcher->isRunning()) {
        setBusyCursor(false);
        hide();
        m_fetcher->abort(); // its report closes the dialog
        if (!m_closed)
            QDialog::reject();
        return;
    }
    QDialog::reject();
}

void RssChannelDialog::reject()
{
    onCancelClicked();
}

void RssChannelDialog::abort()
{
    onCancelClicked();
}

void RssChannelDialog::done(int result)
{
    if (m_closed) {
        QDialog::done(result);
        return;
    }
    m_closed = true;
    m_cancel = true;
    if (m_fetcher->isRunning())
        m_fetcher->abort();
    setBusyCursor(false);
    QDialog::done(result);
}
