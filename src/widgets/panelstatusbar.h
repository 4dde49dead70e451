#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <vector>

class QPainter;
class QPoint;
class QRect;
class QStyleOption;
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
// The bar draws with the owner's style (status-bar pane, size grip), over a tiled picture when
// one is set.
//
// Members that look a panel up throw NumberedError 0x8004041A for an unknown key or a position
// outside the panels; addPanel throws 0x8004041B beyond 255 panels; Create throws 9 when
// no owner is given. The paint and input members never throw.
class PanelStatusBar : public QObject
{
    Q_OBJECT
public:
    // Panel style bits.
    static constexpr qint32 kStyleOwnerDraw = 0x1000;   // raise ownerDrawRequested for the panel
    static constexpr qint32 kStyleGripperPane = 0x100;  // icon panel drawn as a gripper pane

    explicit PanelStatusBar(QObject *parent = nullptr);
    ~PanelStatusBar() override;

    // A picture file tiled behind the panels; a file that does not load keeps the old picture.
    void setImageFile(const QString &imageFile);

    // Free text for the host (the frame keeps the page-load percentage here).
    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    void setPanelToolTipText(const QVariant &key, const QString &toolTip);

    void setSizeGrip(bool on);

    // Adds a panel at the end and returns its position. A springing panel takes the width the
    // others leave; at most one panel springs, so a new one that springs stops the others.
    int addPanel(qint32 style, const QString &text, int imageIndex, int minWidth, bool spring,
                 const QString &keyText);

    // Tool tip of the panel under pos (owner coordinates); left alone over no panel.
    void handleMouseMove(const QPoint &pos);
    // Raises panelDoubleClicked for the panel under pos (owner coordinates).
    void handleDoubleClick(const QPoint &pos);

    // Asks the owner to repaint the whole bar (-1) or the panel at that position.
    void draw(int position = -1);
    // Paints the whole bar (-1) or one panel; called from the owner's paint event.
    void draw(QPainter &painter, int position = -1);

    // The panel icons: panelIcon n is image n of this list (0-based); the icon size is the
    // height of the first image.
    void setImageList(const QList<QPixmap> &images);

    // Binds the owner; throws NumberedError 9 ("Invalid object passed to Create.") for none.
    void create(QWidget *owner);

    // The panel's rectangle from the last layout: right and bottom are exclusive edges.
    void panelRect(const QVariant &key, int &left, int &top, int &right,
                      int &bottom) const;

    // A number (or a numeric text) is a 1-based position, anything else a key compared
    // case-sensitively; the first panel with the key wins.
    int panelIndex(const QVariant &key) const;

    // The text a panel shows. The panels are painted, not widgets of their own: tests read a
    // panel's text back here.
    QString panelText(const QVariant &key) const;
    // Stores the text and repaints the panel.
    void setPanelText(const QVariant &key, const QString &text);

    int panelIcon(const QVariant &key) const;
    // An image of the image list; -1 or less removes the icon.
    void setPanelIcon(const QVariant &key, int index);

    void setPanelStyle(const QVariant &key, qint32 style);

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
    struct Panel
    {
        QString key;
        int iconIndex = -1;
        QPixmap icon;
        QString text;
        QString toolTipText;
        int minWidth = 0;
        bool spring = false;
        qint32 style = 0;
        int left = 0, top = 0, right = 0, bottom = 0;
    };

    static constexpr int kMaxPanels = 255;

    Panel &panel(const QVariant &key) { return m_panels[size_t(panelIndex(key) - 1)]; }
    const Panel &panel(const QVariant &key) const
    {
        return m_panels[size_t(panelIndex(key) - 1)];
    }
    int panelCount() const { return int(m_panels.size()); }
    [[noreturn]] void raiseInvalidIndex(const QVariant &key) const;

    void layoutPanels();
    void tileBackground(QPainter &painter, int left, int top, int width, int height) const;
    bool hasBackground() const;
    int hitTest(const QPoint &pos) const;
    // One panel of draw: its background and pane, the owner's drawing, its icon and text.
    void drawPanel(QPainter &painter, int position, QStyleOption &option, int clientRight,
                   bool &lastPainted);
    void drawSizeGrip(QPainter &painter, const QRect &client) const;

    QPointer<QWidget> m_owner;
    std::vector<Panel> m_panels;
    int m_barHeight = 0;
    int m_iconSize = 0;
    QList<QPixmap> m_images;
    QString m_tag;
    bool m_sizeGrip = false;
    QString m_imageFile;
    QPixmap m_background;
};
