#include "addresscompleter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>
#include <QtConcurrent>

AddressCompleter::AddressCompleter(QComboBox *comboBox, const HistoryStore *history)
    : QObject(comboBox), m_comboBox(comboBox), m_history(history)
{
    m_offers = new QStringListModel(this);
    m_completer = new QCompleter(m_offers, this);
    // The offers are chosen here; the completer only shows them.
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setMaxVisibleItems(AddressMatcher::kDefaultLimit);
    // Set on the line edit, not the combo box: the combo box would take a chosen offer for a
    // choice from its own list of typed addresses.
    QLineEdit *edit = comboBox->lineEdit();
    edit->setCompleter(m_completer);
    // The focus goes to the combo box, which hands its events to the line edit directly.
    comboBox->installEventFilter(this);
    // Installed after the completer's own filter, so this one sees the keys first.
    m_completer->popup()->installEventFilter(this);
    connect(m_completer->popup(), &QAbstractItemView::clicked, this,
            [this] { emit addressAccepted(Qt::NoModifier); });
    // The line edit opens or closes the list after this has filled it.
    connect(edit, &QLineEdit::textEdited, this, &AddressCompleter::updateOffers);

    QAbstractItemModel *typed = comboBox->model();
    const auto typedChanged = [this] { m_typedChanged = true; };
    connect(typed, &QAbstractItemModel::rowsInserted, this, typedChanged);
    connect(typed, &QAbstractItemModel::rowsRemoved, this, typedChanged);
    connect(typed, &QAbstractItemModel::rowsMoved, this, typedChanged);
    connect(typed, &QAbstractItemModel::dataChanged, this, typedChanged);
    connect(typed, &QAbstractItemModel::modelReset, this, typedChanged);
    connect(&m_historyReader, &QFutureWatcherBase::finished, this, &AddressCompleter::onHistoryRead);
}

QStringList AddressCompleter::typedAddresses() const
{
    QStringList typed;
    for (int i = 0; i < m_comboBox->count(); ++i)
        typed << m_comboBox->itemText(i);
    return typed;
}

void AddressCompleter::readHistory()
{
    m_historyChecked = true;
    if (!m_history)
        return;
    if (m_historyReader.isRunning()) {
        m_readAgain = true;
        return;
    }
    // A connection of its own in the reading thread: a long history is not read while the
    // user types.
    m_historyReader.setFuture(QtConcurrent::run(
        [file = m_history->filePath(), known = m_historyRevision] {
            HistoryRead read;
            HistoryStore store(file);
            read.revision = store.revision();
            read.changed = !(read.revision == known);
            if (read.changed)
                read.matcher.setVisitedAddresses(store.addresses());
            return read;
        }));
}

void AddressCompleter::onHistoryRead()
{
    HistoryRead read = m_historyReader.result();
    if (read.changed) {
        m_historyRevision = read.revision;
        read.matcher.setTypedAddresses(typedAddresses());
        m_matcher = std::move(read.matcher);
        m_typedChanged = false;
        // What the user typed meanwhile gets the visited addresses too.
        const QString text = m_comboBox->lineEdit()->text();
        if (m_edited && m_comboBox->hasFocus() && !text.isEmpty()) {
            updateOffers(text);
            m_completer->setCompletionPrefix(text);
            m_completer->complete();
        }
    }
    if (m_readAgain) {
        m_readAgain = false;
        readHistory();
    }
    emit historyRead();
}

void AddressCompleter::updateOffers(const QString &text)
{
    m_edited = true;
    if (!m_historyChecked)
        readHistory();
    if (m_typedChanged) {
        m_matcher.setTypedAddresses(typedAddresses());
        m_typedChanged = false;
    }
    m_offers->setStringList(m_matcher.matches(text));
}

bool AddressCompleter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_comboBox && event->type() == QEvent::FocusIn
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
        // Pages visited since the last time the user typed here should be offered.
        m_edited = false;
        readHistory();
    } else if (watched == m_completer->popup() && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // The field already holds the offer picked with the arrow keys, or what was typed.
            m_completer->popup()->hide();
            emit addressAccepted(key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
