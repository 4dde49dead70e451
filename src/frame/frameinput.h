#pragma once

#include "frame/commands/shortcutrules.h"
#include "frameparts.h"

#include <QKeyCombination>
#include <QObject>

class DocumentWindow;
class KeyboardShortcuts;
class MouseGestureRecognizer;

// The frame's keyboard and mouse input: the keyboard shortcuts, which act wherever the focus is,
// the keys of menu items that a page kept from the menus, and the mouse gestures. Each runs a
// command of the frame, or acts on its tabs and its address bar.
class FrameInput : public QObject
{
    Q_OBJECT
public:
    explicit FrameInput(const FrameParts &parts, QObject *parent = nullptr);

    // Starts watching the keys.
    void installShortcuts();
    // Starts recognising the mouse gestures.
    void attachGestures();
    // Stops watching keys and gestures.
    void remove();

private:
    DocumentWindow *activeDocument() const;
    void onShortcut(ShortcutRules::Action action);
    // A menu key the window did not take (the focus in a page): its item runs or its menu opens.
    void onMenuKey(QKeyCombination key);
    // Mouse gestures: the stroke's setting picks one of seventeen commands.
    void onMouseGesture(qint32 gestureType, int xStart, int yStart, int xEnd, int yEnd,
                        bool &acceptGesture);

    const FrameParts &m_parts;
    KeyboardShortcuts *m_shortcuts;
    // Null until the gestures are attached.
    MouseGestureRecognizer *m_gestures = nullptr;
};
