#pragma once

#include "frame/chrome/addressband.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QComboBox;
class QWidget;
class AbstractDocument;
class CommandSource;
class DocumentArea;
class DocumentWindow;

// The frame's address bar: the address field and its holder, the list of typed addresses, the
// completion of what the user types, what Enter, a choice from the list and the Go buttons open,
// the web search with the chosen engine, and whether a page's new address shows while the user
// is typing.
class AddressBar : public QObject, public AddressBand
{
    Q_OBJECT
public:
    // The holder is made as a child of the frame window; documents open in the area, and the
    // Go buttons' state lives on the registry's commands.
    AddressBar(DocumentArea &documents, CommandSource &commands, QWidget *frame);

    // The holder ("Picture1") the address toolbar shows, and the field in it ("Addressbar").
    QWidget *holder() const override { return m_addressHolder; }
    QComboBox *comboBox() const { return m_addressBar; }

    void setAddressText(const QString &text);
    QString addressText() const override;
    QStringList typedAddresses() const;
    // The list as the settings keep it; the field is left empty.
    void setTypedAddresses(const QStringList &addresses);
    void insertTypedAddress(const QString &address);
    bool goNewDown() const;
    void setGoNew(bool down);
    // Whether the field has the keyboard focus (the user may be typing).
    bool hasFocus() const { return m_addressHasFocus; }

    int searchEngine() const override { return m_searchEngine; }
    void setSearchEngine(int engine) { m_searchEngine = qint16(engine); }
    void searchWeb(int engine, const QString &text);

    // Enter in the field, with the modifier state of that key.
    void onAddressEnter(bool ctrl, bool shift);
    void onAddressSelected();
    void onGoButton();
    // Another document became the active one: the field shows its address.
    void onActiveDocumentChanged(AbstractDocument *document);
    // The field shows the active page's address again, selected (Esc while editing).
    void revertToPageAddress();
    // The active page moved to the address: shown unless the user is typing.
    void onCurrentAddressChanged(const QString &address);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DocumentWindow *activeDocument() const;
    void showPageIcon();
    // The field's text as the Go buttons and a pick from the list open it: empty when there is
    // nowhere to go.
    QString addressToOpen() const;

    DocumentArea &m_documents;
    CommandSource &m_commands;
    QWidget *m_addressHolder;
    QComboBox *m_addressBar;
    QAction *m_pageIcon;
    qint16 m_searchEngine = 0;
    // Set while a key is down in the field: a choice from the list made with the keys is not
    // opened until Enter.
    bool m_addressEditing = false;
    bool m_addressHasFocus = false;
    // Set from the field's loss of the focus until the events queued then have run: an
    // activation the combo box reports meanwhile is no choice from the list.
    bool m_leavingField = false;
};
