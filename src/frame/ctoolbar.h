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
class vbalImageList
{
public:
    // Loads the strip; false (and no pictures) when the file is not a picture or is narrower
    // than one picture.
    bool LoadStrip(const QString &file, int size);
    static QList<QPixmap> CutStrip(const QImage &strip, int size);

    int ImageSize() const { return m_size; }
    int ImageCount() const { return int(m_images.size()); }
    // The picture at index (0-based); a null picture outside the list.
    QPixmap ItemPicture(int index) const;

private:
    QList<QPixmap> m_images;
    int m_size = 0;
};

// One band of the rebar: a toolbar in the frame's toolbar area that can carry the skin
// behind it and an ideal width (the width it asks for when it shares its row).
class cBandBar : public QToolBar
{
    Q_OBJECT
public:
    explicit cBandBar(QWidget *parent = nullptr);

    QString BandKey;

    void setBackgroundPicture(const QPixmap &picture);
    QPixmap BackgroundPicture() const { return m_background; }
    // 0 = the width its contents need.
    void setIdealWidth(int width);
    int IdealWidth() const { return m_idealWidth; }
    int NaturalWidth() const { return QToolBar::sizeHint().width(); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_background;
    int m_idealWidth = 0;
};

// A toolbar button that reports a press on its drop-down arrow (or, for a whole drop-down
// button, anywhere on it) instead of opening a menu of its own.
class cToolbarButton : public QToolButton
{
    Q_OBJECT
public:
    explicit cToolbarButton(qint32 style, QWidget *parent = nullptr);
    qint32 ButtonStyle() const { return m_style; }

signals:
    void dropDownPressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    qint32 m_style;
};

// A toolbar of keyed buttons and control items, with pictures from an image strip, a caption
// per button shown or hidden, beside or below the picture, check buttons and drop-down
// arrows. Positions are 0-based and count separators and control items; a hidden button
// keeps its position. A right click on the toolbar reports ButtonClick with position -1.
class cToolbar : public cBandBar
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

    explicit cToolbar(QWidget *parent = nullptr);

    int DrawStyle() const { return m_drawStyle; }
    void setDrawStyle(int style);
    QString ImageSource() const { return m_imageSource; }
    // The strip file the pictures come from, cut at the image size.
    void setImageSource(const QString &file);
    int ImageSize() const { return m_imageSize; }
    void setImageSize(int size);
    // Sets the image size and caption placement (and whether buttons added from now on show
    // their captions) and loads the pictures.
    void CreateToolbar(int imageSize, bool textRight, bool textShown);
    // Whether the strip gave any pictures.
    bool PicturesLoaded() const { return m_images.ImageCount() > 0; }

    void AddButton(const QString &toolTip, int image, const QString &caption, qint32 style,
                   const QString &key);
    void AddControl(QWidget *control, const QString &key);
    void RemoveButton(const QString &key);

    int ButtonCount() const { return int(m_buttons.size()); }
    QString ButtonKey(int position) const;
    // The position of the button with the key; -1 when there is none.
    int ButtonIndex(const QString &key) const;
    QString ButtonCaption(const QString &key) const;
    QString ButtonToolTip(const QString &key) const;
    qint32 ButtonStyle(const QString &key) const;

    bool ButtonTextVisible(const QString &key) const;
    void setButtonTextVisible(const QString &key, bool shown);
    bool ButtonVisible(const QString &key) const;
    void setButtonVisible(const QString &key, bool visible);
    bool ButtonVisibleAt(int position) const;
    void setButtonVisibleAt(int position, bool visible);
    bool ButtonEnabled(const QString &key) const;
    void setButtonEnabled(const QString &key, bool enabled);
    bool ButtonEnabledAt(int position) const;
    void setButtonEnabledAt(int position, bool enabled);
    bool ButtonChecked(const QString &key) const;
    void setButtonChecked(const QString &key, bool down);
    int ButtonImage(const QString &key) const;
    void setButtonImage(const QString &key, int image);
    int ButtonWidth(const QString &key) const;
    // The button's rectangle in toolbar coordinates (where its drop-down menu goes).
    QRect ButtonRect(const QString &key) const;
    QWidget *ButtonWidget(const QString &key) const;

    bool TextRight() const { return m_textRight; }
    void setTextRight(bool right);

    // Lays the buttons out again after a change of their look.
    void ResizeToolbar();
    // The version of the toolkit behind the toolbar.
    static void GetVersion(int &major, int &minor, int &build);

signals:
    void ButtonClick(int position);
    void DropDownPress(int position);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    struct Button
    {
        QString key;
        QString caption;
        QString toolTip;
        qint32 style = kStyleAutosize;
        int image = -1;
        bool textShown = true;
        QAction *action = nullptr;
        cToolbarButton *button = nullptr;
        QWidget *control = nullptr;
    };

    Button *find(const QString &key);
    const Button *find(const QString &key) const;
    int positionOf(const QAction *action) const;
    void applyLook(Button &b);
    void applyPicture(Button &b);
    void reloadPictures();

    QList<Button> m_buttons;
    vbalImageList m_images;
    QString m_imageSource;
    int m_imageSize = 16;
    int m_drawStyle = kDrawNormal;
    bool m_textRight = true;
    bool m_textShown = true;
    bool m_created = false;
};

// Holds one captured window (the menu bar) inside a band, over the skin.
class cToolbarHost : public QWidget
{
    Q_OBJECT
public:
    explicit cToolbarHost(QWidget *parent = nullptr);
    void Capture(QWidget *child);
    QWidget *Captured() const { return m_child; }
    void setBackgroundPicture(const QPixmap &picture);
    void Refresh() { update(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<QWidget> m_child;
    QPixmap m_background;
};
