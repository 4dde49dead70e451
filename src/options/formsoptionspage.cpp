#include "formsoptionspage.h"

#include "cardlockdialog.h"
#include "taggedwidget.h"

#include "core/appstate.h"
#include "core/passworddigest.h"
#include "core/settingsstore.h"
#include "core/strings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace {

constexpr char kLimitProperty[] = "typingLimit";
constexpr int kMaxPasswordLength = 20;
// "form.bin" exists but cannot be read.
constexpr int kDataUnreadableText = 14907;
// The title of the messages that refuse to switch the card protection on.
constexpr int kProtectRefusedTitle = 5506;
// The tint of card fields while card data is protected.
const QColor kProtectedTint(204, 204, 255);

QLineEdit *textBox(const char *name, int limit)
{
    auto *box = new QLineEdit;
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(limit);
    box->setProperty(kLimitProperty, limit);
    return box;
}

// Fills a box without cutting a stored text longer than the box lets the user type.
void showText(QLineEdit *box, const QString &text)
{
    box->setMaxLength(qMax(box->property(kLimitProperty).toInt(), int(text.size())));
    box->setText(text);
}

QComboBox *list(const char *name, const QStringList &entries)
{
    auto *box = new QComboBox;
    box->setObjectName(QLatin1String(name));
    box->addItem(QString());
    box->addItems(entries);
    return box;
}

QStringList numbers(int last)
{
    QStringList entries;
    for (int n = 1; n <= last; ++n)
        entries.append(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
    return entries;
}

QStringList monthNames()
{
    return {QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"), QStringLiteral("Apr"),
            QStringLiteral("May"), QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Aug"),
            QStringLiteral("Sep"), QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
}

QLineEdit *passwordBox(const char *name)
{
    QLineEdit *box = textBox(name, kMaxPasswordLength);
    box->setEchoMode(QLineEdit::Password);
    return box;
}

void addRow(QFormLayout *form, int caption, QWidget *field)
{
    auto *label = new QLabel(resId(caption));
    label->setBuddy(field);
    form->addRow(label, field);
}

void addRow(QFormLayout *form, int caption, std::initializer_list<QWidget *> fields)
{
    auto *row = new QHBoxLayout;
    for (QWidget *field : fields)
        row->addWidget(field);
    row->addStretch(1);
    auto *label = new QLabel(resId(caption));
    label->setBuddy(*fields.begin());
    form->addRow(label, row);
}

QString customFieldKey(int i)
{
    return QStringLiteral("CustomFormField%1").arg(i);
}

bool cardDataLocked()
{
    return AppState::settings.protectCreditInfo && !AppState::creditInfoUnlocked;
}

} // namespace

FormsOptionsPage::FormsOptionsPage(OptionsHost &host, QWidget *parent)
    : OptionsPage(host, parent), m_message(optionsMessageBox(this))
{
    setObjectName(QStringLiteral("FormsOptions1"));
    auto *frame = taggedWidget(new QGroupBox, "frameForms", 8082);
    m_autoFill = taggedWidget(new QCheckBox, "chkAutoFormFill", 8083);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    buildPersonTab();
    buildAddressTab();
    buildCardTab();
    buildUserDefinedTab();
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_autoFill);
    frameLayout->addWidget(m_tabs, 1);
    fillPage(this, frame);

    localise();
    load();

    connect(m_protect, &QCheckBox::toggled, this, &FormsOptionsPage::protectToggled);
    connect(m_tabs, &QTabWidget::currentChanged, this, &FormsOptionsPage::tabChanged);
}

void FormsOptionsPage::buildPersonTab()
{
    m_title = list("title", FormRecord::titles());
    m_sex = list("sex", FormRecord::sexes());
    m_firstName = textBox("firstname", 20);
    m_lastName = textBox("lastname", 20);
    m_phone = textBox("phone", 20);
    m_fax = textBox("fax", 20);
    m_birthDay = list("bday", numbers(31));
    m_birthMonth = list("bmonth", monthNames());
    m_birthYear = textBox("byear", 4);
    m_birthYear->setMaximumWidth(m_birthYear->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    m_mail = textBox("mail", 100);
    m_job = textBox("job", 100);

    auto *group = taggedWidget(new QGroupBox, "framePerson", 5001);
    auto *form = new QFormLayout(group);
    addRow(form, 5002, {m_title});
    addRow(form, 5003, {m_sex});
    addRow(form, 5004, m_firstName);
    addRow(form, 5005, m_lastName);
    addRow(form, 5006, m_phone);
    addRow(form, 5007, m_fax);
    auto *more = taggedWidget(new QGroupBox, "frameAdditional", 8084);
    auto *moreForm = new QFormLayout(more);
    addRow(moreForm, 5008, {m_birthDay, m_birthMonth, m_birthYear});
    addRow(moreForm, 5009, m_mail);
    addRow(moreForm, 5010, m_job);
    form->addRow(more);
    m_tabs->addTab(group, QStringLiteral("Person"));
}

void FormsOptionsPage::buildAddressTab()
{
    m_address1 = textBox("address1", 150);
    m_address2 = textBox("Address2", 150);
    m_country = list("Country", FormRecord::countries());
    m_city = textBox("City", 25);
    m_state = textBox("State", 25);
    m_zipCode = textBox("ZipCode", 25);

    auto *group = taggedWidget(new QGroupBox, "frameAddress", 5011);
    auto *form = new QFormLayout(group);
    addRow(form, 5012, m_address1);
    addRow(form, 5013, m_address2);
    addRow(form, 5014, {m_country});
    addRow(form, 5015, m_city);
    addRow(form, 5016, m_state);
    addRow(form, 5017, m_zipCode);
    m_tabs->addTab(group, QStringLiteral("Address"));
}

void FormsOptionsPage::buildCardTab()
{
    m_password = passwordBox("Password");
    m_confirm = passwordBox("Confirm");
    m_protect = taggedWidget(new QCheckBox, "Protect", 5029);
    m_cardType = list("CardType", FormRecord::cardTypes());
    m_cardNumber = textBox("CardNumber", 50);
    m_validCode = textBox("ValidCode", 50);
    m_expMonth = list("ExpMonth", numbers(12));
    m_expYear = textBox("ExpYear", 4);
    m_expYear->setMaximumWidth(m_birthYear->maximumWidth());
    m_userName = textBox("UserName", 50);
    m_bank = textBox("Bank", 50);

    auto *group = taggedWidget(new QGroupBox, "frameCard", 5018);
    auto *form = new QFormLayout(group);
    addRow(form, 5019, m_password);
    addRow(form, 5020, m_confirm);
    form->addRow(m_protect);
    addRow(form, 5021, {m_cardType});
    addRow(form, 5022, m_cardNumber);
    addRow(form, 5023, m_validCode);
    addRow(form, 5024, {m_expMonth, m_expYear});
    addRow(form, 5025, m_userName);
    addRow(form, 5026, m_bank);
    m_tabs->addTab(group, QStringLiteral("Credit Card"));
}

void FormsOptionsPage::buildUserDefinedTab()
{
    auto *group = taggedWidget(new QGroupBox, "frameUser", 8085);
    auto *grid = new QGridLayout(group);
    for (int i = 0; i < FormRecord::kCustomFields; ++i) {
        m_customName[i] = textBox("Custom", 100);
        m_customValue[i] = textBox("Value", 100);
        m_customName[i]->setObjectName(QStringLiteral("Custom%1").arg(i));
        m_customValue[i]->setObjectName(QStringLiteral("Value%1").arg(i));
        grid->addWidget(new QLabel(resId(5027)), i, 0);
        grid->addWidget(m_customName[i], i, 1);
        grid->addWidget(new QLabel(resId(5028)), i, 2);
        grid->addWidget(m_customValue[i], i, 3);
    }
    grid->setRowStretch(FormRecord::kCustomFields, 1);
    m_tabs->addTab(group, QStringLiteral("User Defined"));
}

void FormsOptionsPage::load()
{
    SettingsModel &s = AppState::settings;
    m_autoFill->setChecked(s.autoFormFill);

    // The boxes never show the stored password: left empty they keep it. Protection without a
    // password would lock nothing, so it is switched off.
    if (s.protectCreditInfo && s.creditInfoPassword.isEmpty())
        s.protectCreditInfo = false;
    m_protect->setChecked(s.protectCreditInfo);
    tintCardFields(s.protectCreditInfo);

    std::array<QString, FormRecord::kCustomFields> names;
    const SettingsStore &store = SettingsStore::instance();
    for (int i = 0; i < FormRecord::kCustomFields; ++i)
        names[i] = store.read(QStringLiteral("Settings"), customFieldKey(i), QString());
    const QString file = FormStore::defaultFile();
    m_dataUnreadable = !m_store.openDataFile(file) && QFileInfo::exists(file);
    showRecord(FormRecord::read(m_store, names));
    // Nothing typed here could be written without losing what the file holds.
    m_tabs->setEnabled(!m_dataUnreadable);
}

void FormsOptionsPage::showEvent(QShowEvent *event)
{
    OptionsPage::showEvent(event);
    if (m_dataUnreadable && !m_unreadableTold) {
        m_unreadableTold = true;
        QMetaObject::invokeMethod(
            this, [this] { m_message(QMessageBox::Warning, loadResString(kDataUnreadableText)); },
            Qt::QueuedConnection);
    }
}

void FormsOptionsPage::showRecord(const FormRecord &values)
{
    const std::pair<QComboBox *, int> lists[] = {
        {m_title, values.title},       {m_sex, values.sex},           {m_birthDay, values.birthDay},
        {m_birthMonth, values.birthMonth}, {m_country, values.country}, {m_cardType, values.cardType},
        {m_expMonth, values.expMonth}};
    for (const auto &[box, position] : lists)
        box->setCurrentIndex(position);
    const std::pair<QLineEdit *, const QString &> texts[] = {
        {m_firstName, values.firstName}, {m_lastName, values.lastName}, {m_phone, values.phone},
        {m_fax, values.fax},             {m_birthYear, values.birthYear}, {m_mail, values.mail},
        {m_job, values.job},             {m_address1, values.address1}, {m_address2, values.address2},
        {m_city, values.city},           {m_state, values.state},       {m_zipCode, values.zipCode},
        {m_cardNumber, values.cardNumber}, {m_validCode, values.validCode}, {m_expYear, values.expYear},
        {m_userName, values.userName},   {m_bank, values.bank}};
    for (const auto &[box, text] : texts)
        showText(box, text);
    for (int i = 0; i < FormRecord::kCustomFields; ++i) {
        showText(m_customName[i], values.customName[i]);
        showText(m_customValue[i], values.customValue[i]);
    }
}

FormRecord FormsOptionsPage::record() const
{
    FormRecord r;
    r.title = m_title->currentIndex();
    r.sex = m_sex->currentIndex();
    r.firstName = m_firstName->text();
    r.lastName = m_lastName->text();
    r.phone = m_phone->text();
    r.fax = m_fax->text();
    r.birthDay = m_birthDay->currentIndex();
    r.birthMonth = m_birthMonth->currentIndex();
    r.birthYear = m_birthYear->text();
    r.mail = m_mail->text();
    r.job = m_job->text();
    r.address1 = m_address1->text();
    r.address2 = m_address2->text();
    r.country = m_country->currentIndex();
    r.city = m_city->text();
    r.state = m_state->text();
    r.zipCode = m_zipCode->text();
    r.cardType = m_cardType->currentIndex();
    r.cardNumber = m_cardNumber->text();
    r.validCode = m_validCode->text();
    r.expMonth = m_expMonth->currentIndex();
    r.expYear = m_expYear->text();
    r.userName = m_userName->text();
    r.bank = m_bank->text();
    for (int i = 0; i < FormRecord::kCustomFields; ++i) {
        r.customName[i] = m_customName[i]->text();
        r.customValue[i] = m_customValue[i]->text();
    }
    return r;
}

QString FormsOptionsPage::refusal() const
{
    if (m_protect->isChecked() && m_password->text() != m_confirm->text())
        return loadResString(3021);
    QStringList seen;
    for (QLineEdit *box : m_customName) {
        const QString key = box->text().toLower();
        if (key.isEmpty())
            continue;
        if (FormRecord::builtInKeys().contains(key))
            return QStringLiteral("\"%1\" is filled in by the form filler itself. Please give the "
                                  "user-defined field another name.")
                .arg(box->text());
        if (seen.contains(key))
            return QStringLiteral("The user-defined field \"%1\" is named twice. Please give each "
                                  "field its own name.")
                .arg(box->text());
        seen.append(key);
    }
    return QString();
}

void FormsOptionsPage::save()
{
    SettingsModel &s = AppState::settings;
    s.autoFormFill = m_autoFill->isChecked();
    // A password typed while protection is on replaces the stored one.
    if (m_protect->isChecked() && !m_password->text().isEmpty())
        s.creditInfoPassword = PasswordDigest::make(m_password->text());

    const FormRecord r = record();
    SettingsStore &store = SettingsStore::instance();
    {
        SettingsStore::Batch batch(store);
        for (int i = 0; i < FormRecord::kCustomFields; ++i)
            store.write(QStringLiteral("Settings"), customFieldKey(i), r.customName[i]);
    }
    if (m_dataUnreadable)
        return;
    r.write(m_store);
    m_store.saveDataFile(FormStore::defaultFile());
}

void FormsOptionsPage::protectToggled(bool on)
{
    SettingsModel &s = AppState::settings;
    if (on) {
        const QString password = m_password->text();
        if (password.isEmpty() || password != m_confirm->text()) {
            m_protect->setChecked(false);
            m_message(QMessageBox::Warning, loadResString(kProtectRefusedTitle),
                      loadResString(password.isEmpty() ? 3022 : 3021));
            return;
        }
        s.protectCreditInfo = true;
        s.creditInfoPassword = PasswordDigest::make(password);
    } else {
        m_password->clear();
        m_confirm->clear();
        s.protectCreditInfo = false;
        s.creditInfoPassword.clear();
    }
    tintCardFields(on);
}

void FormsOptionsPage::tintCardFields(bool protectedData)
{
    for (QWidget *field : std::initializer_list<QWidget *>{m_cardType, m_cardNumber, m_validCode,
                                                           m_expMonth, m_expYear}) {
        const QColor colour = protectedData ? kProtectedTint : QApplication::palette(field).color(QPalette::Base);
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, colour);
        field->setPalette(palette);
        // A list that cannot be typed into is drawn as a button, which the style shades in a
        // colour of its own: the two lists are drawn as fields, in both states (so they keep
        // their size when the tint changes).
        if (qobject_cast<QComboBox *>(field))
            field->setStyleSheet(QStringLiteral("QComboBox { background-color: %1; border: 1px solid palette(mid);"
                                                " border-radius: 2px; padding: 2px 4px; }")
                                     .arg(colour.name()));
    }
}

void FormsOptionsPage::tabChanged(int index)
{
    if (index == CardTab && cardDataLocked()) {
        // The card tab stays hidden behind the tab it was asked from until the password is given.
        m_tabs->setCurrentIndex(m_previousTab);
        if (CardLockDialog::unlock(m_message, this))
            m_tabs->setCurrentIndex(CardTab);
        return;
    }
    m_previousTab = index;
}
