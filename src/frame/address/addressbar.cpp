#include "addressbar.h"
#include "widgets/standardicons.h"

#include "addressbarrules.h"
#include "addresscompleter.h"
#include "core/historystore.h"
#include "document/documentwindow.h"
#include "frame/chrome/commandsource.h"
#include "frame/documents/documentarea.h"
#include "searchengines.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>

namespace {

// Picture of the typed addresses in the address bar's list.
QIcon typedAddressIcon()
{
    return StandardIcons::icon(nullptr, QStyle::SP_FileLinkIcon);
}

} // namespace

AddressBar::AddressBar(DocumentArea &documents, CommandSource &commands, QWidget *frame)
    : QObject(frame), m_documents(documents), m_commands(commands)
{
    m_addressHolder = new QWidget(frame);
    m_addressHolder->setObjectName(QStringLiteral("Picture1"));
    m_addressHolder->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *addressLayout = new QHBoxLayout(m_addressHolder);
    addressLayout->setContentsMargins(0, 0, 0, 0);
    m_addressBar = new QComboBox(m_addressHolder);
    m_addressBar->setObjectName(QStringLiteral("Addressbar"));
    m_addressBar->setEditable(true);
    m_addressBar->setInsertPolicy(QComboBox::NoInsert);
    m_addressBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_addressBar->setMinimumWidth(0);
    // The band gives the field all the width there is; its height counts the page's icon from
    // the start. (Measured again at the first show, with the icon, the field grew a pixel and
    // the whole frame was laid out anew after its first paint.)
    m_addressBar->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_addressBar->setMaxVisibleItems(20);
    m_addressBar->lineEdit()->installEventFilter(this);
    m_addressBar->installEventFilter(this);
    addressLayout->addWidget(m_addressBar);
    // The field shows the picture of the page. The list draws its current entry's picture there;
    // while it has no current entry (none chosen yet, or the list was emptied) the field shows
    // the same picture itself.
    m_pageIcon = m_addressBar->lineEdit()->addAction(typedAddressIcon(), QLineEdit::LeadingPosition);
    connect(m_addressBar, &QComboBox::currentIndexChanged, this, &AddressBar::showPageIcon);
    showPageIcon();
    connect(m_addressBar, &QComboBox::editTextChanged, this, [this](const QString &text) {
        m_commands.setEnabled(QStringLiteral("AddressbarGo"), !text.isEmpty());
    });
    // The combo box also reports an entry as activated when the field loses the focus with
    // that entry's text in it; leaving the field is no choice, and during the frame's close or
    // destruction it would open a document in a frame that is going.
    connect(m_addressBar, &QComboBox::activated, this, [this] {
        if (!m_leavingField)
            onAddressSelected();
    });
    // Words given where an address goes are looked up with the engine chosen here.
    m_documents.setSearchAddress([bar = QPointer<AddressBar>(this)](const QString &query) {
        return bar ? SearchEngines::searchAddress(bar->searchEngine(), query) : QString();
    });
    auto *completer = new AddressCompleter(m_addressBar, &HistoryStore::instance());
    connect(completer, &AddressCompleter::addressAccepted, this,
            [this](Qt::KeyboardModifiers modifiers) {
                onAddressEnter(modifiers & Qt::ControlModifier, modifiers & Qt::ShiftModifier);
            });
}

DocumentWindow *AddressBar::activeDocument() const
{
    return qobject_cast<DocumentWindow *>(m_documents.activeDocument());
}

void AddressBar::showPageIcon()
{
    m_pageIcon->setVisible(m_addressBar->itemIcon(m_addressBar->currentIndex()).isNull());
}

QStringList AddressBar::typedAddresses() const
{
    QStringList list;
    for (int i = 0; i < m_addressBar->count(); ++i)
        list << m_addressBar->itemText(i);
    return list;
}

void AddressBar::setTypedAddresses(const QStringList &addresses)
{
    m_addressBar->clear();
    for (const QString &address : addresses)
        m_addressBar->addItem(typedAddressIcon(), address);
    m_addressBar->setCurrentIndex(-1);
    m_addressBar->setEditText(QString());
}

void AddressBar::insertTypedAddress(const QString &address)
{
    if (!AddressBarRules::shouldInsertAtTop(typedAddresses(), address))
        return;
    const QString text = m_addressBar->currentText();
    m_addressBar->insertItem(0, typedAddressIcon(), address);
    m_addressBar->setEditText(text);
}

void AddressBar::setAddressText(const QString &text)
{
    m_addressBar->setEditText(text);
}

QString AddressBar::addressText() const
{
    return m_addressBar->currentText();
}

bool AddressBar::goNewDown() const
{
    return m_commands.isChecked(QStringLiteral("AddressbarGoNew"));
}

void AddressBar::setGoNew(bool down)
{
    m_commands.setChecked(QStringLiteral("AddressbarGoNew"), down);
}

void AddressBar::onAddressEnter(bool ctrl, bool shift)
{
    AddressBarRules::EnterInput in;
    in.text = m_addressBar->currentText();
    in.ctrl = ctrl;
    in.shift = shift;
    in.goNewDown = goNewDown();
    in.hasActiveDocument = activeDocument() != nullptr;
    in.typedAddresses = typedAddresses();
    const AddressBarRules::EnterOutcome out = AddressBarRules::decideEnter(in);
    if (out.text != in.text)
        setAddressText(out.text);
    switch (out.action) {
    case AddressBarRules::EnterOutcome::Nothing:
        return;
    case AddressBarRules::EnterOutcome::Search:
        searchWeb(m_searchEngine, out.text);
        break;
    case AddressBarRules::EnterOutcome::OpenNewTab:
        m_documents.openDocument(out.text);
        break;
    case AddressBarRules::EnterOutcome::NavigateActive:
        // The document keeps its name until the page names itself (a load that fails may
        // never do).
        m_documents.navigateActive(out.text);
        break;
    }
    // The typed text is on its way: the field follows the page from now on.
    m_addressBar->lineEdit()->setModified(false);
    if (out.addToTypedList)
        insertTypedAddress(out.text);
    if (out.focusDocument) {
        if (DocumentWindow *document = activeDocument())
            document->setFocus();
    }
}

QString AddressBar::addressToOpen() const
{
    // A script address is no place to go: it would run in whatever page is showing.
    const QString text = m_addressBar->currentText();
    return TypedAddress::isScriptAddress(text) ? QString() : text;
}

void AddressBar::onAddressSelected()
{
    if (m_addressEditing)
        return;
    const QString text = addressToOpen();
    if (text.isEmpty())
        return;
    if (m_documents.navigateActive(text))
        insertTypedAddress(text);
    else
        m_documents.openDocument(text);
}

void AddressBar::onGoButton()
{
    if (goNewDown()) {
        const QString text = addressToOpen();
        if (!text.isEmpty())
            m_documents.openDocument(text);
    } else {
        onAddressSelected();
    }
}

void AddressBar::searchWeb(int engine, const QString &text)
{
    const QString address = SearchEngines::searchAddress(engine, text);
    if (!address.isEmpty())
        m_documents.openDocument(address);
}

void AddressBar::onActiveDocumentChanged(AbstractDocument *document)
{
    if (document)
        setAddressText(document->addressText());
}

void AddressBar::revertToPageAddress()
{
    const DocumentWindow *document = activeDocument();
    setAddressText(document ? document->locationUrl() : QString());
    m_addressBar->lineEdit()->selectAll();
}

void AddressBar::onCurrentAddressChanged(const QString &address)
{
    // The address bar keeps what the user is typing; a field that only holds the focus shows
    // where the page went (keys such as Alt+Left act while the focus is here).
    QLineEdit *edit = m_addressBar->lineEdit();
    if (m_addressHasFocus && edit->isModified())
        return;
    // A selected text stays selected, so the next key still replaces it (a new tab).
    const bool allSelected = m_addressHasFocus && edit->hasSelectedText() && edit->selectedText() == edit->text();
    setAddressText(address);
    if (allSelected)
        edit->selectAll();
}

bool AddressBar::eventFilter(QObject *watched, QEvent *event)
{
    // Keys reach the combo box first (it forwards them to its line edit itself); synthetic
    // ones may go to the line edit directly.
    if (watched == m_addressBar->lineEdit() || watched == m_addressBar) {
        switch (event->type()) {
        case QEvent::FocusIn: {
            m_addressHasFocus = true;
            // Clicking into the field, tabbing to it or Alt+D selects its text; the frame
            // becoming active again or a menu closing leaves the text and the cursor alone.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                QMetaObject::invokeMethod(m_addressBar->lineEdit(), &QLineEdit::selectAll, Qt::QueuedConnection);
            break;
        }
        case QEvent::FocusOut:
            m_addressHasFocus = false;
            // The combo box reports an activation, if any, while this event is delivered.
            m_leavingField = true;
            QMetaObject::invokeMethod(this, [this] { m_leavingField = false; }, Qt::QueuedConnection);
            break;
        case QEvent::KeyRelease:
            m_addressEditing = false;
            break;
        case QEvent::KeyPress: {
            // While a key is down, an entry the arrow keys bring into the field is not opened:
            // the user is still choosing (Enter opens it).
            m_addressEditing = true;
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                onAddressEnter(key->modifiers() & Qt::ControlModifier,
                                key->modifiers() & Qt::ShiftModifier);
                return true;
            }
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                // Esc runs Stop first (the frame's shortcut, queued before this), then the
                // field shows the active page's address again.
                QMetaObject::invokeMethod(this, &AddressBar::revertToPageAddress, Qt::QueuedConnection);
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
