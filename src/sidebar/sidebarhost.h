#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class frmMain;
class QWidget;

// What the side bar needs of the window that hosts it. Every member may be left empty: the
// side bar then does without it (no tab opens, no notice shows, the status text is dropped),
// except MessageBox, which falls back to a modal message box titled with the product name.
struct SidebarHost
{
    // Opens an address in a new document window.
    std::function<void(const QString &address)> LoadNewDoc;
    // The fading notice: title, text and the target a click on it opens.
    std::function<void(const QString &title, const QString &text, const QString &target)> showTip;
    // The status text of the first status-bar panel.
    std::function<void(const QString &text)> SetStatusText;
    // Opens the options dialog on MainCode::OptionsPage.
    std::function<void()> mnuViewOptions;
    // True while the host window unloads.
    std::function<bool()> IsClosing;
    // A message box: parent, icon, text and buttons; returns the button pressed.
    std::function<QMessageBox::StandardButton(QWidget *parent, QMessageBox::Icon icon,
                                              const QString &text,
                                              QMessageBox::StandardButtons buttons)>
        MessageBox;

    // The host members of the frame: LoadNewDoc, SetStatusText and g_bClosing.
    static SidebarHost FromFrame(frmMain *frame);

    // Helpers that respect empty members.
    void openInNewTab(const QString &address) const;
    void tip(const QString &title, const QString &text, const QString &target) const;
    void status(const QString &text) const;
    bool closing() const;
    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok) const;
};
