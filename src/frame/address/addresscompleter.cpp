#include "addresscompleter.h"

#include "core/localpathoffers.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QStringListModel>
#include <QtConcurrent>

AddressCompleter::AddressCompleter(QComboBox *comboBox, const HistoryStore *history)
    : QObject(comboBox), m_comboBox(comboBox), m_history(history)
{
    m_offers = new QStringListModel(this);
    // A tool-tip window: shown without taking the focus or grabbing the keyboard, so the field
    // keeps every key, and closing it gives no focus event to the field.
    m_popup = new QListView;
    m_popup->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    m_popup->setAttribute(Qt::WA_ShowWithoutActivating);
    m_popup->setFocusPolicy(Qt::NoFocus);
    m_popup->viewport()->setFocusPolicy(Qt::NoFocus);
    m_popup->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_popup->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_popup->setSelectionMode(QAbstractItemView::SingleSelection);
    m_popup->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_popup->setUniformItemSizes(true);
    m_popup->setModel(m_offers);
    connect(m_popup, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        acceptRow(index.row(), QGuiApplication::keyboardModifiers());
    });

    // The combo box's own completion fills the field with what it guesses; the offers here
    // leave the typed text alone.
    comboBox->setCompleter(nullptr);
    // Keys reach the combo box (it hands them to its line edit directly); synthetic ones may
    // go to the line edit itself.
    comboBox->installEventFilter(this);
    comboBox->lineEdit()->installEventFilter(this);
    connect(comboBox->lineEdit(), &QLineEdit::textEdited, this, &AddressCompleter::updateOffers);

    QAbstractItemModel *typed = comboBox->model();
    const auto typedChanged = [this] { m_typedChanged = true; };
    connect(typed, &QAbstractItemModel::rowsInserted, this, typedChanged);
    connect(typed, &QAbstractItemModel::rowsRemoved, this, typedChanged);
    connect(typed, &QAbstractItemModel::rowsMoved, this, typedChanged);
    connect(typed, &QAbstractItemModel::dataChanged, this, typedChanged);
    connect(typed, &QAbstractItemModel::modelReset, this, typedChanged);
    connect(&m_historyReader, &QFutureWatcherBase::finished, this, &AddressCompleter::onHistoryRead);
}

AddressCompleter::~AddressCompleter()
{
    delete m_popup;
    m_historyReader.waitForFinished();
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
        // What the user typed meanwhile gets the visited addresses too, unless the user is
        // moving through the offers already.
        const QString text = m_comboBox->lineEdit()->text();
        if (m_edited && m_comboBox->hasFocus() && !text.isEmpty() && !m_popup->currentIndex().isValid())
            updateOffers(text);
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
    m_typedText = text;
    if (!m_historyChecked)
        readHistory();
    if (m_typedChanged) {
        m_matcher.setTypedAddresses(typedAddresses());
        m_typedChanged = false;
    }
    const int limit = AddressMatcher::kDefaultLimit;
    QStringList offers;
    if (LocalPathOffers::isPath(text))
        offers = LocalPathOffers::offers(text, limit);
    for (const QString &address : m_matcher.matches(text, limit)) {
        if (offers.size() >= limit)
            break;
        if (!offers.contains(address))
            offers.append(address);
    }
    m_offers->setStringList(offers);
    m_popup->setCurrentIndex(QModelIndex());
    if (offers.isEmpty() || !m_comboBox->hasFocus())
        hideOffers();
    else
        showOffers();
}

void AddressCompleter::showOffers()
{
    const int rows = qMin(m_offers->rowCount(), AddressMatcher::kDefaultLimit);
    const int rowHeight = qMax(m_popup->sizeHintForRow(0), m_comboBox->fontMetrics().height());
    const int frame = 2 * m_popup->frameWidth();
    QRect area(m_comboBox->mapToGlobal(QPoint(0, m_comboBox->height())),
               QSize(m_comboBox->width(), rows * rowHeight + frame));
    // Above the field when the screen has no room below it.
    if (const QScreen *screen = m_comboBox->screen()) {
        const QRect available = screen->availableGeometry();
        if (area.bottom() > available.bottom())
            area.moveBottom(m_comboBox->mapToGlobal(QPoint(0, 0)).y() - 1);
    }
    m_popup->setGeometry(area);
    if (!m_popup->isVisible()) {
        // The list stays where it was shown: it closes when the frame moves or changes size.
        m_comboBox->window()->installEventFilter(this);
        m_popup->show();
    }
}

void AddressCompleter::hideOffers()
{
    m_popup->hide();
    m_popup->setCurrentIndex(QModelIndex());
}

void AddressCompleter::moveHighlight(int step)
{
    const int count = m_offers->rowCount();
    // Rows 0..count-1 are offers; count stands for the text as typed.
    int row = m_popup->currentIndex().isValid() ? m_popup->currentIndex().row() : count;
    row = (row + step + count + 1) % (count + 1);
    QLineEdit *edit = m_comboBox->lineEdit();
    if (row == count) {
        m_popup->setCurrentIndex(QModelIndex());
        m_popup->clearSelection();
        edit->setText(m_typedText);
    } else {
        const QModelIndex index = m_offers->index(row);
        m_popup->setCurrentIndex(index);
        m_popup->scrollTo(index);
        edit->setText(index.data().toString());
    }
}

void AddressCompleter::acceptRow(int row, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex index = m_offers->index(row);
    if (!index.isValid())
        return;
    m_comboBox->lineEdit()->setText(index.data().toString());
    hideOffers();
    emit addressAccepted(modifiers & (Qt::ControlModifier | Qt::ShiftModifier));
}

bool AddressCompleter::handleKey(QKeyEvent *key)
{
    if (!m_popup->isVisible())
        return false;
    switch (key->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier))
            return false;
        moveHighlight(key->key() == Qt::Key_Down ? 1 : -1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_popup->currentIndex().isValid()) {
            acceptRow(m_popup->currentIndex().row(), key->modifiers());
            return true;
        }
        // Enter on the typed text is the field's own.
        hideOffers();
        return false;
    case Qt::Key_Escape:
        // The first Esc closes the offers and leaves the text as it is now.
        hideOffers();
        return true;
    default:
        return false;
    }
}

bool AddressCompleter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == m_comboBox && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            // Pages visited since the last time the user typed here should be offered.
            m_edited = false;
            readHistory();
        }
        break;
    case QEvent::FocusOut:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        hideOffers();
        break;
    case QEvent::KeyPress:
        if (watched == m_comboBox || watched == m_comboBox->lineEdit())
            return handleKey(static_cast<QKeyEvent *>(event));
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
