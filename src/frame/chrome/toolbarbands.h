#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QStringList>

class QMainWindow;
class QWidget;
class BandToolBar;

// The rebar: keyed bands in one toolbar area of a main window, in rows. A band is its child
// itself when the child is a toolbar band, otherwise a band wrapped around the child. The
// user may move bands within the area and between rows; the layout text records the order,
// the rows, the visibility and the widths of the bands and brings them back.
class ToolBarBands : public QObject
{
    Q_OBJECT
public:
    struct BandState
    {
        QString key;
        bool newRow = true;
        bool visible = true;
        int width = 0;
        bool operator==(const BandState &) const = default;
    };

    explicit ToolBarBands(QMainWindow *host);
    ~ToolBarBands() override;

    // Takes every band out of the window and forgets it (children are kept).
    void reset();
    void setBackgroundPicture(const QPixmap &picture);
    // Where the bands go: the top (the default) or the bottom of the window.
    void createBands(Qt::ToolBarArea area = Qt::TopToolBarArea);
    // Moves every band to the area, keeping order and rows.
    void setArea(Qt::ToolBarArea area);

    // Adds a band at the end and returns its index (0-based).
    int addBand(QWidget *child, const QString &text, bool newRow, bool fixedSize,
                const QString &key);
    int bandCount() const { return int(m_bands.size()); }
    // -1 when there is no band with the key.
    int bandIndexForKey(const QString &key) const;
    // The key the band was added with; empty outside 0..bandCount() - 1.
    QString bandKey(int index) const;
    BandToolBar *band(int index) const;
    QWidget *bandChild(int index) const;
    // Whether the band starts a row of its own.
    bool bandNewRow(int index) const;
    bool bandVisible(int index) const;
    void setBandVisible(int index, bool visible);
    // The holder of all bands: hidden, no band shows, yet each keeps whether it is to show (read
    // and changed by bandVisible and setBandVisible) and shows again with the holder.
    bool holderShown() const { return m_holderShown; }
    void setHolderShown(bool holderShown);
    int bandChildMinHeight(int index) const;
    void setBandChildMinHeight(int index, int height);
    // The width the band's child asks for.
    void setBandChildSize(int index, int width);
    void relayoutBands();

    // The bands as they stand now (read from the window where it was laid out).
    QList<BandState> currentLayout();
    QString currentLayoutText();
    // Restores a layout text: bands named in it take its order, rows, visibility and widths;
    // a key of keys without a band gets one around the matching child; bands the text does
    // not name follow on rows of their own. Nothing changes when the text does not parse.
    bool restoreLayout(const QString &text, const QStringList &keys,
                       const QList<QWidget *> &children);
    void removeAllBands();
    void destroyBands();

    // The layout text of a list of band states, and back. Parsing fails (false) for a text
    // that is not a layout, names a key outside keys or names one twice.
    static QString layoutText(const QList<BandState> &bands);
    static bool parseLayout(const QString &text, const QStringList &keys, QList<BandState> *bands);

private:
    struct BandEntry
    {
        QString key;
        QPointer<BandToolBar> bar;
        QPointer<QWidget> child;
        bool wrapped = false;
        bool newRow = true;
        int lastWidth = 0;
        bool heldVisible = true; // while the holder is hidden
    };
    // Whether the band is to show (its own state, whatever the holder does).
    bool shown(const BandEntry &band) const;
    void place();
    bool geometryUsable(const QList<int> &visible) const;

    QPointer<QMainWindow> m_host;
    QList<BandEntry> m_bands;
    QPixmap m_background;
    Qt::ToolBarArea m_area = Qt::TopToolBarArea;
    bool m_holderShown = true;
};
