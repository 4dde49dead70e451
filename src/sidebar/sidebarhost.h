#pragma once

#include "core/optionspageid.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// What the side bar needs of the window that hosts it. Every member may be left empty: the
// side bar then does without it (no tab opens, no notice shows, the status text is dropped),
// except messageBox, which falls back to a modal message box titled with the product name.
struct SidebarHost
{
    // Opens an address in a new document window.
    std::function<void(const QString &address)> openDocument;
    // Lets the active document navigate to an address; false when no document is active.
    std::function<bool(const QString &address)> navigateActive;
    // The addresses of the open documents, in the order of the tabs.
    std::function<QStringList()> openAddresses;
    // Empty the address bar's list of typed addresses and the quick search's list of texts.
    std::function<void()> clearTypedAddresses;
    std::function<void()> clearSearchList;
    // The fading notice: title, text and the target a click on it opens.
    std::function<void(const QString &title, const QString &text, const QString &target)> showTip;
    // The status text of the first status-bar panel.
    std::function<void(const QString &text)> setStatusText;
    // Opens the options dialog on the page.
    std::function<void(OptionsPageId page)> showOptions;
    // True while the host window unloads.
    std::function<bool()> isClosing;
    // A message box: parent, icon, text and buttons; returns the button pressed.
    std::function<QMessageBox::StandardButton(QWidget *parent, QMessageBox::Icon icon,
                                              const QString &text,
                                              QMessageBox::StandardButtons buttons)>
        messageBox;

    // Helpers that respect empty members.
    void openInNewTab(const QString &address) const;
    // Opens an address picked in the side bar: in a new tab when newTab is set or no document
    // is active, else in the active document.
    void openPicked(const QString &address, bool newTab) const;
    QStringList documentAddresses() const;
    void tip(const QString &title, const QString &text, const QString &target) const;
    void status(const QString &text) const;
    bool closing() const;
    // Titled with the product name unless a title is given.
    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        const QString &title = QString()) const;
};
