#include "frmqsearch.h"

#include "core/maincode.h"
#include "core/olecolor.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "core/vbconvert.h"
#include "frmmain.h"
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

frmQSearch::frmQSearch(frmMain *frame) : QDialog(frame), m_frame(frame)
{
    setObjectName(QStringLiteral("frmQSearch"));
    setProperty(kTagProperty, ResId(4000));
    resize(twipsToPixels(7830), twipsToPixels(1650));

    auto *label1 = new QLabel(ResId(4001), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setWordWrap(true);
    auto *label3 = new QLabel(ResId(4002), this);
    label3->setObjectName(QStringLiteral("Label3"));
    vbalCboEx2 = new QComboBox(this);
    vbalCboEx2->setObjectName(QStringLiteral("vbalCboEx2"));
    auto *label2 = new QLabel(ResId(4003), this);
    label2->setObjectName(QStringLiteral("Label2"));
    vbalCboEx1 = new QComboBox(this);
    vbalCboEx1->setObjectName(QStringLiteral("vbalCboEx1"));
    vbalCboEx1->setEditable(true);
    vbalCboEx1->setInsertPolicy(QComboBox::NoInsert);
    vbalCboEx1->setMinimumWidth(240);
    Command1 = new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight), QString(), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setEnabled(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(label1, 0, 0, 1, 4);
    grid->addWidget(label3, 1, 0);
    grid->addWidget(vbalCboEx2, 1, 1);
    grid->addWidget(label2, 1, 2);
    grid->addWidget(vbalCboEx1, 1, 3);
    grid->addWidget(Command1, 1, 4);
    grid->setColumnStretch(3, 1);

    LoadResStrings(this);
    MainCode::ModalDialogClosed = false;

    vbalCboEx2->addItems({QStringLiteral("Web"), QStringLiteral("Groups")});
    const SettingsStore &store = SettingsStore::instance();
    const QPoint here = pos();
    const auto left = VbConvert::toSingle(store.read(kSettings, QStringLiteral("QSearchLeft"),
                                                     VbConvert::fromSingle(float(pixelsToTwips(here.x())))));
    const auto top = VbConvert::toSingle(store.read(kSettings, QStringLiteral("QSearchTop"),
                                                    VbConvert::fromSingle(float(pixelsToTwips(here.y())))));
    if (store.contains(kSettings, QStringLiteral("QSearchLeft")) && left && top)
        move(twipsToPixels(*left), twipsToPixels(*top));
    vbalCboEx2->setCurrentIndex(
        qBound(0, int(SettingsModel::readInteger(store, kSettings, QStringLiteral("QSearchTypesListIndex"), 0)), 1));
    const int count = SettingsModel::readInteger(store, kSettings, QStringLiteral("QSearchSearchListCount"), 0);
    for (int i = 1; i <= count; ++i) {
        const QString item = store.read(kSettings, QStringLiteral("QSearchSearchListItem%1").arg(i), QString());
        if (!item.isEmpty())
            vbalCboEx1->addItem(item);
    }
    vbalCboEx1->setCurrentIndex(-1);
    vbalCboEx1->setEditText(QString());

    connect(vbalCboEx1, &QComboBox::editTextChanged, this,
            [this](const QString &text) { Command1->setEnabled(!text.isEmpty()); });
    connect(Command1, &QPushButton::clicked, this, &frmQSearch::Search);
    vbalCboEx1->lineEdit()->installEventFilter(this);
    vbalCboEx2->installEventFilter(this);
}

QStringList frmQSearch::AddToHistory(const QStringList &history, const QString &text)
{
    const QString entry = text.trimmed();
    QStringList out = history;
    if (entry.isEmpty())
        return out;
    out.removeAll(entry);
    out.prepend(entry);
    while (out.size() > kMaxHistory)
        out.removeLast();
    return out;
}

void frmQSearch::Search()
{
    const QString q = vbalCboEx1->currentText();
    QStringList history;
    for (int i = 0; i < vbalCboEx1->count(); ++i)
        history << vbalCboEx1->itemText(i);
    history = AddToHistory(history, q);
    vbalCboEx1->clear();
    vbalCboEx1->addItems(history);
    vbalCboEx1->setCurrentIndex(-1);
    vbalCboEx1->setEditText(q);
    const bool groups = vbalCboEx2->currentIndex() == 1;
    backToFrame();
    // An empty query searches for nothing: no tab.
    if (q.trimmed().isEmpty())
        return;
    m_frame->LoadNewDoc(SearchEngines::QuickSearchAddress(groups, q));
}

void frmQSearch::backToFrame()
{
    hide();
    MainCode::ModalDialogClosed = true;
    m_frame->activateWindow();
}

void frmQSearch::hideEvent(QHideEvent *event)
{
    MainCode::ModalDialogClosed = true;
    QDialog::hideEvent(event);
}

bool frmQSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Search();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            backToFrame();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmQSearch::Form_Unload()
{
    SettingsStore &store = SettingsStore::instance();
    SettingsStore::Batch batch(store);
    store.write(kSettings, QStringLiteral("QSearchLeft"), VbConvert::fromSingle(float(pixelsToTwips(x()))));
    store.write(kSettings, QStringLiteral("QSearchTop"), VbConvert::fromSingle(float(pixelsToTwips(y()))));
    store.write(kSettings, QStringLiteral("QSearchTypesListIndex"), QString::number(vbalCboEx2->currentIndex()));
    store.write(kSettings, QStringLiteral("QSearchSearchListCount"), QString::number(vbalCboEx1->count()));
    for (int i = 0; i < vbalCboEx1->count(); ++i)
        store.write(kSettings, QStringLiteral("QSearchSearchListItem%1").arg(i + 1), vbalCboEx1->itemText(i));
    MainCode::ModalDialogClosed = true;
}
