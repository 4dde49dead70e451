#pragma once

#include <QMainWindow>
#include <QString>

class QMdiArea;
class QMdiSubWindow;
class frmDocument;

// The frame: the main window that holds every document window as an MDI child.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The load sequence; runs once, behind the splash, before the frame is first shown.
    // commandLine is the address given to this start (quotes not yet stripped).
    void MDIForm_Load(const QString &commandLine);
    // Shows the frame in the state the settings asked for.
    void ShowFrame();

    // Opens an address in a new tab.
    void LoadNewDoc(const QString &address);
    // A later start handed over its command line: open it and bring the window back.
    void HandOver(const QString &text);

    void LoadSettings();
    void SaveSettings();

    QMdiArea *mdiArea() const { return m_mdiArea; }
    frmDocument *ActiveDocument() const;
    QList<frmDocument *> Documents() const;

    // Public state of the frame.
    Qt::WindowStates g_windowState = Qt::WindowNoState;
    QString g_sLastClosedDocument;
    qint16 g_nSearchEngine = 0;
    bool g_bClosing = false;
    bool g_bAddressEditing = false;
    QString g_sNextSkin;

    bool PrevSessionCrashed() const { return m_bPrevSessionCrashed; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void MDIForm_Unload();

    QMdiArea *m_mdiArea = nullptr;
    bool m_bPrevSessionCrashed = false;
    bool m_bLoaded = false;
    bool m_bUnloaded = false;
};
