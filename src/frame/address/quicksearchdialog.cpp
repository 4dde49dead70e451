#include "quicksearchdialog.h"

#include "core/fixeddialog.h"
#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/storedcolor.h"
#include "core/storedvalue.h"
#include "core/strings.h"
#include "searchengines.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {
const QString kSettings = QStringLiteral("Settings");
}

QuickSearchDialog::QuickSearchDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmQSearch"));
    setProperty(kTagProperty, resId(4000));
    resize(twipsToPixels(7830), twipsToPixels(1650));

    auto *label1 = new QLabel(resId(4001), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setWordWrap(true);
    auto *label3 = new QLabel(resId(4002), this);
    label3->setObjectName(QStringLiteral("Label3"));
    m_scopeBox = new QComboBox(this);
    m_scopeBox->setObjectName(QStringLiteral("vbalCboEx2"));
    auto *label2 = new QLabel(resId(4003), this);
    label2->setObjectName(QStringLiteral("Label2"));
    m_queryBox = new QComboBox(this);
    m_queryBox->setObjectName(QStringLiteral("vbalCboEx1"));
    m_queryBox->setEditable(true);
    m_queryBox->setInsertPolicy(QComboBox::NoInsert);
    m_queryBox->setMinimumWidth(240);
    m_searchButton = new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight), QString(), this);
    m_searchButton->setObjectName(QStringLiteral("Command1"));
    m_searchButton->setEnabled(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(label1, 0, 0, 1, 4);
    grid->addWidget(label3, 1, 0);
    grid->addWidget(m_scopeBox, 1, 1);
    grid->addWidget(label2, 1, 2);
    grid->addWidget(m_queryBox, 1, 3);
    grid->addWidget(m_searchButton, 1, 4);
    grid->setColumnStretch(3, 1);

    loadResStrings(this);

    m_scopeBox->addItems({QStringLiteral("Web"), QStringLiteral("Groups")});
    const SettingsStore &store = SettingsStore::instance();
    const QPoint here = pos();
    const auto left = StoredValue::toSingle(store.read(kSettings, QStringLiteral("QSearchLeft"),
                                                     StoredValue::fromSingle(float(pixelsToTwips(here.x())))));
    const auto top = StoredValue::toSingle(store.read(kSettings, QStringLiteral("QSearchTop"),
                                                    StoredValue::fromSingle(float(pixelsToTwips(here.y())))));
    if (store.contains(kSettings, QStringLiteral("QSearchLeft")) && left && top)
        move(twipsToPixels(*left), twipsToPixels(*top));
    m_scopeBox->setCurrentIndex(
        qBound(0, int(SettingsModel::readInteger(store, kSettings, QStringLiteral("QSearchTypesListIndex"), 0)), 1));
    const int count = SettingsModel::readInteger(store, kSettings, QStringLiteral("QSearchSearchListCount"), 0);
    for (int i = 1; i <= qMin(count, kMaxHistory); ++i)
        m_queryBox->addItem(store.read(kSettings, QStringLiteral("QSearchSearchListItem%1").arg(i), QString()));
    m_queryBox->setCurrentIndex(-1);
    m_queryBox->setEditText(QString());

    connect(m_queryBox, &QComboBox::editTextChanged, this,
            [this](const QString &text) { m_searchButton->setEnabled(!text.isEmpty()); });
    connect(m_searchButton, &QPushButton::clicked, this, &QuickSearchDialog::search);
    m_queryBox->installEventFilter(this);
    m_scopeBox->installEventFilter(this);
    makeFixedDialog(this);
}

QStringList QuickSearchDialog::addToHistory(const QStringList &history, const QString &text)
{
    QStringList out = history;
    out.prepend(text);
    while (out.size() > kMaxHistory)
        out.removeLast();
    return out;
}

void QuickSearchDialog::search()
{
    const QString q = m_queryBox->currentText();
    QStringList history;
    for (int i = 0; i < m_queryBox->count(); ++i)
        history << m_queryBox->itemText(i);
    history = addToHistory(history, q);
    m_queryBox->clear();
    m_queryBox->addItems(history);
    m_queryBox->setCurrentIndex(-1);
    m_queryBox->setEditText(q);
    const bool groups = m_scopeBox->currentIndex() == 1;
    backToFrame();
    // An empty query opens the search address with an empty query.
    Q_EMIT searchRequested(SearchEngines::quickSearchAddress(groups, q));
}

void QuickSearchDialog::clearHistory()
{
    m_queryBox->clear();
}

void QuickSearchDialog::backToFrame()
{
    hide();
    if (QWidget *window = parentWidget())
        window->activateWindow();
}

void QuickSearchDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_queryBox->setFocus(Qt::OtherFocusReason);
    m_queryBox->lineEdit()->selectAll();
}

bool QuickSearchDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            search();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            backToFrame();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void QuickSearchDialog::unload()
{
    SettingsStore &store = SettingsStore::instance();
    SettingsStore::Batch batch(store);
    store.write(kSettings, QStringLiteral("QSearchLeft"), StoredValue::fromSingle(float(pixelsToTwips(x()))));
    store.write(kSettings, QStringLiteral("QSearchTop"), StoredValue::fromSingle(float(pixelsToTwips(y()))));
    store.write(kSettings, QStringLiteral("QSearchTypesListIndex"), QString::number(m_scopeBox->currentIndex()));
    store.write(kSettings, QStringLiteral("QSearchSearchListCount"), QString::number(m_queryBox->count()));
    for (int i = 0; i < m_queryBox->count(); ++i)
        store.write(kSettings, QStringLiteral("QSearchSearchListItem%1").arg(i + 1), m_queryBox->itemText(i));
}
