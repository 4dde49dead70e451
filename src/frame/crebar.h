#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QStringList>

class QMainWindow;
class QWidget;
class cBandBar;

// The rebar: keyed bands in one toolbar area of a main window, in rows. A band is its child
// itself when the child is a toolbar band, otherwise a band wrapped around the child. The
// user may move bands within the area and between rows; the layout text records the order,
// the rows, the visibility and the widths of the bands and brings them back.
class cReBar : public QObject
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

    explicit cReBar(QMainWindow *host);
    ~cReBar() override;

    // Takes every band out of the window and forgets it (children are kept).
    void Reset();
    void setBackgroundPicture(const QPixmap &picture);
    QPixmap BackgroundPicture() const { return m_background; }
    // Where the bands go: the top (the default) or the bottom of the window.
    void CreateRebar(Qt::ToolBarArea area = Qt::TopToolBarArea);
    Qt::ToolBarArea Area() const { return m_area; }
    // Moves every band to the area, keeping order and rows.
    void setArea(Qt::ToolBarArea area);

    // Adds a band at the end and returns its index (0-based).
    int AddBand(QWidget *child, const QString &text, bool newRow, bool fixedSize,
                const QString &key);
    int BandCount() const { return int(m_bands.size()); }
    // -1 when there is no band with the key.
    int BandIndexForKey(const QString &key) const;
    QString BandKey(int index) const;
    cBandBar *Band(int index) const;
    QWidget *BandChild(int index) const;
    bool BandNewRow(int index) const;
    bool BandVisible(int index) const;
    void setBandVisible(int index, bool visible);
    int BandChildMinHeight(int index) const;
    void setBandChildMinHeight(int index, int height);
    // The width the band's child asks for.
    void setBandChildSize(int index, int width);
    int BandWidth(int index) const;
    void RelayoutBands();

    // The bands as they stand now (read from the window where it was laid out).
    QList<BandState> CurrentLayout();
    QString GetLayout();
    // Restores a layout text: bands named in it take its order, rows, visibility and widths;
    // a key of keys without a band gets one around the matching child; bands the text does
    // not name follow on rows of their own. Nothing changes when the text does not parse.
    bool RestoreLayout(const QString &text, const QStringList &keys,
                       const QList<QWidget *> &children);
    void RemoveAllBands();
    void DestroyRebar();

    // The layout text of a list of band states, and back. Parsing fails (false) for a text
    // that is not a layout, names a key outside keys or names one twice.
    static QString LayoutText(const QList<BandState> &bands);
    static bool ParseLayout(const QString &text, const QStringList &keys, QList<BandState> *bands);

private:
    struct BandEntry
    {
        QString key;
        QPointer<cBandBar> bar;
        QPointer<QWidget> child;
        bool wrapped = false;
        bool newRow = true;
        bool fixedSize = false;
        int lastWidth = 0;
    };
    void place();
    bool geometryUsable(const QList<int> &visible) const;

    QPointer<QMainWindow> m_host;
    QList<BandEntry> m_bands;
    QPixmap m_background;
    Qt::ToolBarArea m_area = Qt::TopToolBarArea;
};
