#pragma once

#include <QIcon>
#include <QTabBar>

// The document tab strip: tabs in insertion order, each with a shrunk flag and an icon index
// into the strip's twelve icons. It reports presses with button, modifiers and position and
// leaves the reaction to the frame.
class vbalDTabControl : public QTabBar
{
    Q_OBJECT
public:
    explicit vbalDTabControl(QWidget *parent = nullptr);

    // Busy guard: "1" while a document selects its own tab.
    QString Tag = QStringLiteral("0");

    // Positions are 1-based, as the registry's.
    int Add(const QString &caption, int icon);
    void Remove(int position);
    int Count() const { return count(); }

    QString Caption(int position) const;
    void SetCaption(int position, const QString &caption);
    QString ToolTipText(int position) const;
    void SetToolTipText(int position, const QString &text);
    int IconIndex(int position) const;
    void SetIconIndex(int position, int icon);
    bool Shrunk(int position) const;
    void SetShrunk(int position, bool shrunk);
    bool Selected(int position) const;
    void SetSelected(int position);

    // The strip's twelve icons: loading by quarter (0/1 .. 6/7), loaded (8/9), highlighted
    // (10/11); odd ones for shrunk tabs.
    static const QIcon &TabIcon(int index);

signals:
    // position 0 means the empty part of the strip.
    void TabMouseDown(int position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                      const QPoint &pos);
    void TabDoubleClick(int position);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    struct State
    {
        int icon = 0;
        bool shrunk = false;
    };
    State state(int position) const;
    void setState(int position, const State &s);
};
