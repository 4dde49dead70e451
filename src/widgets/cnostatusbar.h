#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <vector>

class QFont;
class QPainter;
class QPoint;
class QWidget;

// A status bar that is not a widget of its own: it keeps a row of keyed panels, lays them out
// across its owner widget and paints them into the owner's paint event. The owner (in the
// frame a plain widget at the bottom of the window) keeps the pixels and forwards three of its
// events:
//
//     paintEvent        -> QPainter p(this); bar->Draw(p);
//     mouseMoveEvent    -> bar->FireMouseMove(event->position().toPoint());   (panel tool tips)
//     mouseDoubleClick  -> bar->FireDoubleClick(event->position().toPoint());
//
// Property writes never paint: they ask the owner to repaint (QWidget::update of the panel or
// of the whole bar). Panels are addressed by key or by 1-based position (see PanelIndex).
// The bar draws with the owner's style (status-bar pane, size grip) while AllowXPStyles is
// on, otherwise flat in the palette's button colour, optionally over a tiled picture.
//
// Members that look a panel up throw VbError 0x8004041A for an unknown key or a position
// outside 1..PanelCount; AddPanel throws 0x8004041B beyond 255 panels; Create throws 9 when
// no owner is given. The paint and input members never throw.
class cNoStatusBar : public QObject
{
    Q_OBJECT
public:
    // Panel style bits.
    static constexpr qint32 kStyleOwnerDraw = 0x1000;   // raise OwnerDraw for the panel
    static constexpr qint32 kStyleGripperPane = 0x100;  // icon panel drawn as a gripper pane
    static constexpr int kMaxPanels = 255;

    explicit cNoStatusBar(QObject *parent = nullptr);
    ~cNoStatusBar() override;

    // A picture file tiled behind the panels; a file that does not load keeps the old picture.
    QString ImageFile() const { return m_imageFile; }
    void setImageFile(const QString &sImageFile);

    // Free text for the host (the frame keeps the page-load percentage here).
    QString Tag() const { return m_tag; }
    void setTag(const QString &sTag) { m_tag = sTag; }

    bool SimpleMode() const { return m_simpleMode; }
    void setSimpleMode(bool bSimple);
    QString SimpleText() const { return m_simpleText; }
    void setSimpleText(const QString &sText);

    QString PanelToolTipText(const QVariant &vKey) const;
    void setPanelToolTipText(const QVariant &vKey, const QString &sTooltip);

    // Reads whether styled drawing is available at all (not the current choice); writing
    // False draws flat, True draws styled again (error 0x8004041C where no style exists).
    bool AllowXPStyles() const { return m_stylesAvailable; }
    void setAllowXPStyles(bool bAllow);

    bool SizeGrip() const { return m_sizeGrip; }
    void setSizeGrip(bool bSizeGrip);

    // Adds a panel at the end, or before the panel vKeyBefore names; returns its position.
    int AddPanel(qint32 eStyle, const QString &sText, int iImgIndex, int lMinWidth, bool bSpring,
                 bool bFitContents, qint32 lItemData, const QString &sKey,
                 const QVariant &vKeyBefore = QVariant());

    // Tool tip of the panel under pos (owner coordinates); left alone over no panel.
    void FireMouseMove(const QPoint &pos);
    // Raises DoubleClick for the panel under pos (owner coordinates).
    void FireDoubleClick(const QPoint &pos);

    // Asks the owner to repaint the whole bar (-1) or the panel at that position.
    void Draw(int position = -1);
    // Paints the whole bar (-1) or one panel; called from the owner's paint event.
    void Draw(QPainter &painter, int position = -1);

    void RemovePanel(const QVariant &vKey);
    // Added to the owner's client rectangle at the next layout.
    void SetLeftTopOffsets(int left, int top);

    // The panel icons: PanelIcon n is image n of this list (0-based); the icon size is the
    // height of the first image.
    void setImageList(const QList<QPixmap> &images);

    // Binds the owner; throws VbError 9 ("Invalid object passed to Create.") for none.
    void Create(QWidget *owner);

    // The owner's font; writing it sets the owner's font and measures the bar height again.
    QFont Font() const;
    void setFont(const QFont &font);

    // The bar's height in twips (15 to the pixel): what the host makes its widget's height.
    int Height() const;
    int PanelCount() const { return int(m_panels.size()); }

    // The panel's rectangle from the last layout: right and bottom are exclusive edges.
    void GetPanelRect(const QVariant &vKey, int &iLeftPixels, int &iTopPixels, int &iRightPixels,
                      int &iBottomPixels) const;

    QString PanelKey(int lIndex) const;
    void setPanelKey(int lIndex, const QVariant &key);

    bool PanelExists(const QVariant &vKey) const;
    // A number (or a numeric text) is a 1-based position, anything else a key compared
    // case-sensitively; the first panel with the key wins.
    int PanelIndex(const QVariant &vKey) const;

    QString PanelText(const QVariant &vKey) const;
    // Stores the text and repaints the panel; a fitted panel keeps its width until measured.
    void setPanelText(const QVariant &vKey, const QString &sText);

    bool PanelSpring(const QVariant &vKey) const;
    // At most one panel springs: setting it here clears it everywhere else.
    void setPanelSpring(const QVariant &vKey, bool bSpring);

    bool PanelFitToContents(const QVariant &vKey) const;
    void setPanelFitToContents(const QVariant &vKey, bool bFitContents);

    int PanelIcon(const QVariant &vKey) const;
    QPixmap PanelhIcon(const QVariant &vKey) const;
    // An image of the image list; -1 or less removes the icon.
    void setPanelIcon(const QVariant &vKey, int lIndex);
    // An icon of the host's own, replacing the panel's current one.
    void setPanelhIcon(const QVariant &vKey, const QPixmap &hIcon);

    qint32 PanelStyle(const QVariant &vKey) const;
    void setPanelStyle(const QVariant &vKey, qint32 eStyle);

    int PanelMinWidth(const QVariant &vKey) const;
    int PanelIdealWidth(const QVariant &vKey) const;
    void setPanelIdealWidth(const QVariant &vKey, int lWidth);

    // Bar height in pixels ("Xy" in the owner's font plus 10).
    int barHeightPixels() const { return m_barHeight; }

signals:
    // Raised while painting an owner-drawn panel, after its background and before its icon
    // and text. The handler may move the rectangle (the default drawing uses the moved one)
    // and clear bDoDefault to suppress the default icon and text of this panel.
    void OwnerDraw(QPainter *painter, int iPanel, int &lLeftPixels, int &lTopPixels,
                   int &lRightPixels, int &lBottomPixels, bool &bDoDefault);
    // A double click on panel iPanel; the cursor position in global (screen) pixels.
    void DoubleClick(int iPanel, int lMouseX, int lMouseY);

private:
    struct Panel
    {
        QString key;
        qint32 itemData = 0;
        int iconIndex = -1;
        QPixmap icon;
        QString text;
        QString toolTipText;
        int minWidth = 0;
        int idealWidth = 0;
        int width = 0;
        bool spring = false;
        bool fitToContents = false;
        qint32 style = 0;
        int left = 0, top = 0, right = 0, bottom = 0;
    };

    Panel &panel(const QVariant &vKey) { return m_panels[size_t(PanelIndex(vKey) - 1)]; }
    const Panel &panel(const QVariant &vKey) const
    {
        return m_panels[size_t(PanelIndex(vKey) - 1)];
    }
    [[noreturn]] void raiseInvalidIndex(const QVariant &vKey) const;

    void MeasurePanels(int first, int last);
    void LayoutPanels();
    void TileBackground(QPainter &painter, int left, int top, int width, int height) const;
    bool hasBackground() const;
    QFont ownerFont() const;
    int hitTest(const QPoint &pos) const;

    QPointer<QWidget> m_owner;
    std::vector<Panel> m_panels;
    int m_barHeight = 0;
    int m_iconSize = 0;
    QList<QPixmap> m_images;
    int m_leftOffset = 0;
    int m_topOffset = 0;
    bool m_simpleMode = false;
    QString m_simpleText;
    QString m_tag;
    bool m_sizeGrip = false;
    bool m_stylesAvailable = false;
    bool m_useStyles = false;
    QString m_imageFile;
    QPixmap m_background;
};
