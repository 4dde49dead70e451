#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QtGlobal>

#include "statusbarpanel.h"

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
//     mouseMoveEvent    -> bar->handleMouseMove(event->position().toPoint());   (panel tool tips)
//     mouseDoubleClick  -> bar->handleDoubleClick(event->position().toPoint());
//
// Property writes never paint: they ask the owner to repaint (QWidget::update of the panel or
// of the whole bar). Panels are addressed by key or by 1-based position (see panelIndex).
// The bar draws with the owner's style (status-bar pane, size grip) while allowXPStyles is
// on, otherwise flat ("classic") in the button-face colour with a ridged grip; a picture, when
// one is set, is tiled behind the panels (PanelStatusBarPainter does the painting).
//
// Members that look a panel up throw NumberedError 0x8004041A for an unknown key or a position
// outside 1..panelCount; addPanel throws 0x8004041B beyond 255 panels; setAllowXPStyles(true)
// throws 0x8004041C where no style exists; Create throws 9 when no owner is given. The paint
// and input members never throw.
class PanelStatusBar : public QObject
{
    Q_OBJECT
public:
    // Panel style bits: raise ownerDrawRequested for the panel; an icon panel drawn as a
    // gripper pane.
    static constexpr qint32 kStyleOwnerDraw = StatusBarPanel::kStyleOwnerDraw;
    static constexpr qint32 kStyleGripperPane = StatusBarPanel::kStyleGripperPane;
    static constexpr int kMaxPanels = 255;

    explicit PanelStatusBar(QObject *parent = nullptr);
    ~PanelStatusBar() override;

    // A picture file tiled behind the panels; a file that does not load keeps the old picture
    // (the name is stored all the same).
    QString imageFile() const { return m_imageFile; }
    void setImageFile(const QString &imageFile);

    // Free text for the host (the frame keeps the page-load percentage here).
    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    // Simple mode shows one text across the whole bar instead of the panels.
    bool simpleMode() const { return m_simpleMode; }
    void setSimpleMode(bool on);
    QString simpleText() const { return m_simpleText; }
    // Repaints only while simple mode is on.
    void setSimpleText(const QString &text);

    QString panelToolTipText(const QVariant &key) const;
    void setPanelToolTipText(const QVariant &key, const QString &toolTip);

    // Reads whether styled drawing is available at all (not the current choice); writing
    // False draws classic, True draws styled again (error 0x8004041C where no style exists).
    bool allowXPStyles() const { return m_stylesAvailable; }
    void setAllowXPStyles(bool on);

    bool sizeGrip() const { return m_sizeGrip; }
    void setSizeGrip(bool on);

    // Adds a panel at the end, or before the panel keyBefore names, in an empty record (a moved
    // panel keeps its icon and tool tip); returns the new panel's position. A springing panel
    // takes the width the others leave; at most one panel springs, so a new one that springs
    // stops the others. A fitted panel is as wide as its text (measured now) rather than its
    // minimum width. itemData is kept for the host.
    int addPanel(qint32 style, const QString &text, int imageIndex, int minWidth, bool spring,
                 bool fitContents, qint32 itemData, const QString &keyText,
                 const QVariant &keyBefore = QVariant());
    void removePanel(const QVariant &key);

    // Tool tip of the panel under pos (owner coordinates); left alone over no panel.
    void handleMouseMove(const QPoint &pos);
    // Raises panelDoubleClicked for the panel under pos (owner coordinates).
    void handleDoubleClick(const QPoint &pos);

    // Asks the owner to repaint the whole bar (-1) or the panel at that position.
    void draw(int position = -1);
    // Paints the whole bar (-1) or one panel; called from the owner's paint event.
    void draw(QPainter &painter, int position = -1);

    // Added to the owner's left and top edge at the next layout: the first panel gets narrower
    // and every panel starts lower.
    void setLeftTopOffsets(int left, int top);

    // The panel icons: panelIcon n is image n of this list (0-based); the icon size is the
    // height of the first image.
    void setImageList(const QList<QPixmap> &images);

    // Binds the owner; throws NumberedError 9 ("Invalid object passed to Create.") for none.
    void create(QWidget *owner);

    // The owner's font; writing it sets the owner's font and measures the bar height again.
    QFont font() const;
    void setFont(const QFont &font);

    // The bar's height in twips (15 to the pixel): what the host makes its widget's height.
    int height() const;
    int panelCount() const { return int(m_panels.size()); }

    // The panel's rectangle from the last layout: right and bottom are exclusive edges.
    void panelRect(const QVariant &key, int &left, int &top, int &right,
                      int &bottom) const;

    // The key of the panel at a position (1..panelCount, else error 0x8004041A); any value is
    // stored as its text.
    QString panelKey(int index) const;
    void setPanelKey(int index, const QVariant &key);

    // Whether the lookup finds the panel; never throws.
    bool panelExists(const QVariant &key) const;

    // A number (or a numeric text) is a 1-based position, anything else a key compared
    // case-sensitively; the first panel with the key wins.
    int panelIndex(const QVariant &key) const;

    // The text a panel shows. The panels are painted, not widgets of their own: tests read a
    // panel's text back here.
    QString panelText(const QVariant &key) const;
    // Stores the text and repaints the panel; a fitted panel keeps its width until measured.
    void setPanelText(const QVariant &key, const QString &text);

    bool panelSpring(const QVariant &key) const;
    // At most one panel springs: setting it here clears it everywhere else. Measures the panel
    // and lays the row out again; the host repaints.
    void setPanelSpring(const QVariant &key, bool spring);

    bool panelFitToContents(const QVariant &key) const;
    // Measures the panel and lays the row out again; the host repaints.
    void setPanelFitToContents(const QVariant &key, bool fitContents);

    int panelIcon(const QVariant &key) const;
    QPixmap panelPixmap(const QVariant &key) const;
    // An image of the image list; -1 or less removes the icon.
    void setPanelIcon(const QVariant &key, int index);
    // An icon of the host's own, replacing the panel's current one (the image index stays).
    void setPanelPixmap(const QVariant &key, const QPixmap &pixmap);

    qint32 panelStyle(const QVariant &key) const;
    void setPanelStyle(const QVariant &key, qint32 style);

    // Set by addPanel only.
    int panelMinWidth(const QVariant &key) const;
    // The panel's text width plus padding, at least its minimum width, as last measured;
    // writing it lays the row out again.
    int panelIdealWidth(const QVariant &key) const;
    void setPanelIdealWidth(const QVariant &key, int width);

    // Bar height in pixels ("Xy" in the owner's font plus 10).
    int barHeightPixels() const { return m_barHeight; }

signals:
    // Raised while painting an owner-drawn panel, after its background and before its icon
    // and text. The handler may move the rectangle (the default drawing uses the moved one)
    // and clear doDefault to suppress the default icon and text of this panel.
    void ownerDrawRequested(QPainter *painter, int panelPosition, int &left, int &top,
                   int &right, int &bottom, bool &doDefault);
    // A double click on panel panelPosition; the cursor position in global (screen) pixels.
    void panelDoubleClicked(int panelPosition, int mouseX, int mouseY);

private:
    using Panel = StatusBarPanel;

    Panel &panel(const QVariant &key) { return m_panels[size_t(panelIndex(key) - 1)]; }
    const Panel &panel(const QVariant &key) const
    {
        return m_panels[size_t(panelIndex(key) - 1)];
    }
    [[noreturn]] void raiseInvalidIndex(const QVariant &key) const;

    // Ideal widths of the panels first..last (1-based) from their texts in the owner's font.
    void measurePanels(int first, int last);
    // Widths and rectangles of all panels across the owner.
    void layoutPanels();
    // The bar's height from the owner's font.
    void measureBarHeight();
    // Sets the panel's drawn icon and repaints what it moves.
    void replaceIcon(int position, const QPixmap &icon);
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
