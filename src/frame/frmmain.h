#pragma once

#include "widgets/cmediaprogress.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>

class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class QAction;
class QWebEngineNewWindowRequest;
class frmDocument;
class frmNavigator;
class frmQSearch;
class vbalDTabControl;
class cMouseGestures;
class cNoStatusBar;

// The frame: the main window that holds every document window as an MDI child, with the tab
// strip, the address bar, the navigation commands and the registry of open documents.
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

    // ---- Opening documents and the registry (rows, tabs and documents by position).
    void LoadNewDoc(const QString &address);
    // Lets a page's new-window request through into a new document window.
    frmDocument *OpenPopup(QWebEngineNewWindowRequest &request);
    // A document window unloads: renumber the later rows, drop its row and tab.
    void DocumentUnloaded(frmDocument *document);
    frmNavigator *Navigator();
    frmDocument *ActiveDocument() const;
    // All documents in registry (tab) order.
    QList<frmDocument *> Documents() const;
    void BringToFront(frmDocument *document);
    // Tab actions: 0 front, 1 close, 2 toggle shrink, 3 tab menu, 4 refresh, 5 duplicate.
    void DoTabAction(frmDocument *document, int tabPosition, int action);

    // A later start handed over its command line: open it and bring the window back.
    void HandOver(const QString &text);

    // ---- Navigation and new-tab commands.
    void Back();
    void Forward();
    void StopLoading();
    void Refresh();
    void Home1();
    void Home2();
    void GoSearch();
    void GoMail();
    void GoNews();
    void NewHome1();
    void NewHome2();
    void NewSearch();
    void NewEmail();
    void NewNews();
    void mnuNewBlank();
    void mnuNewCurrent();
    void mnuNewClipboard();
    void mnuNavigateSearch();
    void mnuNavigateStop();
    void mnuNavigateHome2();
    void mnuViewQSearch();
    void mnuMoreWindows();
    void OpenQuickTour();

    // ---- Address bar and search engines.
    void SearchWeb(int engine, const QString &text);
    void SelectSearchEngine(int engine);
    // Enter in the address bar, with the modifier state of that key.
    void AddressbarEnter(bool ctrl, bool shift);
    void Addressbar_Select();
    void GoButton();
    QStringList TypedAddresses() const;
    void SetAddressText(const QString &text);
    QString AddressText() const;
    bool GoNewDown() const;
    void SetGoNew(bool down);

    // ---- Text size of the active document (zoom levels 0..4).
    void TextSizeLarger();
    void TextSizeSmaller();
    void TextSizeMedium();

    // ---- Saved pages.
    void SaveAllDocuments();
    void LoadAllDocuments();
    void CloseAllDocuments();

    // ---- Content switches reaching every document.
    void mnuContentFlash();

    // Enables the document-dependent commands by whether a document is open.
    void ModifyMenu();

    // ---- Status bar.
    void SetStatusText(const QString &text);
    // The active page's load percentage as text ("0" when idle).
    void SetProgressTag(const QString &text);
    QString ProgressTag() const { return m_progressTag; }
    void SetSecureIcon(bool secure);
    cNoStatusBar *m_cStatusBar = nullptr;
    QWidget *picStatus = nullptr;
    cMediaProgress cProgress;

    // The one-second clock: date and time, and the timed checks.
    QTimer Clock;
    void Clock_Timer();
    void m_cStatusBar_DoubleClick(int panel, int x, int y);
    void m_cStatusBar_OwnerDraw(QPainter *painter, int panel, int &left, int &top, int &right,
                                int &bottom, bool &doDefault);

    // Mouse gestures: the stroke's setting picks one of seventeen commands.
    cMouseGestures *mouseGestures = nullptr;
    void mouseGestures_MouseGesture(qint32 gestureType, int xStart, int yStart, int xEnd, int yEnd,
                                    bool &acceptGesture);
    // Runs gesture action 1..17; 0 and unknown codes do nothing.
    void RunGestureAction(qint32 action);
    // The setting that holds the action of a stroke code (0 for an unknown code).
    static qint32 GestureAction(qint32 gestureType);
    void mnuFileClose();

    void LoadSettings();
    void SaveSettings();

    QMdiArea *mdiArea() const { return m_mdiArea; }

    // Controls.
    vbalDTabControl *vbalDTabControl1 = nullptr;
    QComboBox *Addressbar = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QToolBar *Toolbar3 = nullptr;
    QToolBar *Tabbar = nullptr;
    QLabel *lblFullScreenStatus = nullptr;

    // Public state of the frame.
    Qt::WindowStates g_windowState = Qt::WindowNoState;
    QString g_sLastClosedDocument;
    qint16 g_nSearchEngine = 0;
    bool g_bClosing = false;
    bool g_bAddressEditing = false;
    bool g_Focus = false;
    QString g_sNextSkin;

    bool PrevSessionCrashed() const { return m_bPrevSessionCrashed; }
    frmQSearch *QuickSearch() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateToolbars();
    void CreateStatusBar();
    void OnSubWindowActivated(QMdiSubWindow *sub);
    frmDocument *RegisterDocument(const QString &address);
    void InsertTypedAddress(const QString &address);
    void OnTabMouseDown(int position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void OnTabDoubleClick(int position);
    void MDIForm_QueryUnload();
    void MDIForm_Unload();
    // Runs one of the five site commands on the active document, or opens a new tab.
    void GoSite(const QString &address);

    QMdiArea *m_mdiArea = nullptr;
    QPointer<frmNavigator> m_navigator;
    QPointer<frmQSearch> m_qsearch;
    QPointer<frmDocument> m_activeDocument;
    QAction *m_go = nullptr;
    QAction *m_goNew = nullptr;
    QAction *m_search = nullptr;
    QString m_progressTag = QStringLiteral("0");
    qint32 m_updateCounter = 0;
    qint16 m_rssCounter = 0;
    bool m_rssStartupDone = false;
    QList<QAction *> m_documentActions;
    bool m_bPrevSessionCrashed = false;
    bool m_bLoaded = false;
    bool m_bUnloaded = false;
};
