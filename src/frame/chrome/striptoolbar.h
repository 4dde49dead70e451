#pragma once

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QToolBar>
#include <QToolButton>

class QAction;

// Pictures cut from an image strip: a row of square pictures of one size, side by side.
// Pixels of colour FF00FF are transparent.
class ImageStrip
{
public:
    // Loads the strip; false (and no pictures) when the file is not a picture or is narrower
    // than one picture.
    bool loadStrip(const QString &file, int size);
    static QList<QPixmap> cutStrip(const QImage &strip, int size);
    // The toolbar strip the settings name ("ToolbarLargeBitmap" or "ToolbarSmallBitmap"), or the
    // one shipped with the program when that one does not load.
    static QString toolbarStripFile(bool large);

    // The picture at index (0-based); a null picture outside the list.
    QPixmap itemPicture(int index) const;

private:
    QList<QPixmap> m_images;
};

// One band of the rebar: a toolbar in the frame's toolbar area that can carry the skin
// behind it and an ideal width (the width it asks for when it shares its row).
class BandToolBar : public QToolBar
{
    Q_OBJECT
public:
    explicit BandToolBar(QWidget *parent = nullptr);

    void setBackgroundPicture(const QPixmap &picture);
    // 0 = the width its contents need.
    void setIdealWidth(int width);
    int idealWidth() const { return m_idealWidth; }
    int naturalWidth() const { return QToolBar::sizeHint().width(); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_background;
    int m_idealWidth = 0;
};

// A toolbar button that reports a press on its drop-down arrow (or, for a whole drop-down
// button, anywhere on it) instead of opening a menu of its own.
class StripToolButton : public QToolButton
{
    Q_OBJECT
public:
    explicit StripToolButton(qint32 style, QWidget *parent = nullptr);
    // The flat look: no bevel; a tinted box with a frame in the selection colour under the
    // pointer and while down or checked.
    bool isFlat() const { return m_flat; }
    void setFlat(bool flat);

signals:
    void dropDownPressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    qint32 m_style;
    bool m_flat = false;
};

// A toolbar of keyed buttons and control items, with pictures from an image strip, a caption
// per button shown or hidden, beside or below the picture, check buttons and drop-down
// arrows. Positions are 0-based and count separators and control items; a hidden button
// keeps its position. A right click on the toolbar reports buttonClicked with position -1.
class StripToolBar : public BandToolBar
{
    Q_OBJECT
public:
    // Button styles (flags as the toolbar takes them).
    static constexpr qint32 kStyleSeparator = 1;
    static constexpr qint32 kStyleAutosize = 16;
    static constexpr qint32 kStyleCheck = 18;
    static constexpr qint32 kStyleDropDown = 24;
    static constexpr qint32 kStyleWholeDropDown = 144;
    // Drawing styles.
    static constexpr int kDrawNormal = 0;
    static constexpr int kDrawOfficeXP = 2;

    explicit StripToolBar(QWidget *parent = nullptr);

    int drawStyle() const { return m_drawStyle; }
    // kDrawOfficeXP gives every button the flat look; anything else the normal one.
    void setDrawStyle(int style);
    // The strip file the pictures come from, cut at the image size.
    QString imageSource() const { return m_imageSource; }
    void setImageSource(const QString &file);
    int imageSize() const { return m_imageSize; }
    void setImageSize(int size);
    // Sets the image size and caption placement (and whether buttons added from now on show
    // their captions) and loads the pictures.
    void createToolBar(int imageSize, bool textRight, bool textShown);
    // Whether the strip gave any pictures (a missing or unreadable strip gives none: the
    // buttons then show their captions only).
    bool picturesLoaded() const;

    void addButton(const QString &toolTip, int image, const QString &caption, qint32 style,
                   const QString &key);
    void addControl(QWidget *control, const QString &key);
    void removeButton(const QString &key);

    int buttonCount() const { return int(m_buttons.size()); }
    QString buttonKey(int position) const;
    // The position of the button with the key; -1 when there is none.
    int buttonIndex(const QString &key) const;
    // As the button was added; empty (style 0) for a control item or a key without a button.
    QString buttonCaption(const QString &key) const;
    QString buttonToolTip(const QString &key) const;
    qint32 buttonStyle(const QString &key) const;

    bool buttonTextVisible(const QString &key) const;
    void setButtonTextVisible(const QString &key, bool shown);
    bool buttonVisible(const QString &key) const;
    void setButtonVisible(const QString &key, bool visible);
    // By position (0-based); reads outside the buttons give false, writes there do nothing.
    bool buttonVisibleAt(int position) const;
    void setButtonVisibleAt(int position, bool visible);
    bool buttonEnabled(const QString &key) const;
    void setButtonEnabled(const QString &key, bool enabled);
    bool buttonEnabledAt(int position) const;
    void setButtonEnabledAt(int position, bool enabled);
    bool buttonChecked(const QString &key) const;
    void setButtonChecked(const QString &key, bool down);
    // The picture's index in the strip; -1 for none.
    int buttonImage(const QString &key) const;
    void setButtonImage(const QString &key, int image);
    // The width the button takes in the toolbar (pixels); 0 for a key without a button.
    int buttonWidth(const QString &key) const;
    // The button's rectangle in toolbar coordinates (where its drop-down menu goes).
    QRect buttonRect(const QString &key) const;
    QWidget *buttonWidget(const QString &key) const;

    bool textRight() const { return m_textRight; }
    void setTextRight(bool right);

    // Lays the buttons out again after a change of their look.
    void resizeToolBar();
    // The version of the toolkit behind the toolbar.
    static void version(int &major, int &minor, int &build);

signals:
    void buttonClicked(int position);
    void dropDownPressed(int position);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    struct Button
    {
        QString key;
        QString caption;
        QString toolTip;
        qint32 style = 0;
        int image = -1;
        bool textShown = true;
        QAction *action = nullptr;
        StripToolButton *button = nullptr;
    };

    // The button at the position, or with the key; null when there is none.
    Button *at(int position);
    const Button *at(int position) const;
    Button *find(const QString &key);
    const Button *find(const QString &key) const;
    int positionOf(const QAction *action) const;
    static void applyEnabled(Button &b, bool enabled);
    void applyLook(Button &b);
    void applyPicture(Button &b);
    void reloadPictures();

    QList<Button> m_buttons;
    ImageStrip m_images;
    QString m_imageSource;
    int m_imageSize = 16;
    int m_drawStyle = kDrawNormal;
    bool m_textRight = true;
    bool m_textShown = true;
    bool m_created = false;
};

// Holds one captured window (the menu bar) inside a band, over the skin.
class MenuBarHost : public QWidget
{
    Q_OBJECT
public:
    explicit MenuBarHost(QWidget *parent = nullptr);
    void capture(QWidget *child);
    void setBackgroundPicture(const QPixmap &picture);
    void refresh() { update(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<QWidget> m_child;
    QPixmap m_background;
};
