#include "frame/commands/shortcutrules.h"
#include "platform/webbrowser.h"

#include <QtTest>

// The keyboard's tables, without a frame: what a key press in the frame asks for, which of the
// page's own keys the frame runs as commands, and the zoom steps those take.
class TestShortcutRules : public QObject
{
    Q_OBJECT

private slots:
    void shortcutRules()
    {
        using namespace ShortcutRules;
        const auto ctrl = Qt::ControlModifier, alt = Qt::AltModifier, shift = Qt::ShiftModifier;
        struct Case
        {
            int key;
            Qt::KeyboardModifiers modifiers;
            bool firstPress, document;
            Action action;
            bool swallowed;
        };
        const Case cases[] = {
            {Qt::Key_D, alt, true, true, Action::FocusAddressBar, true},
            {Qt::Key_D, ctrl, true, true, Action::None, false},
            {Qt::Key_D, alt, false, true, Action::None, false}, // auto-repeat
            {Qt::Key_Escape, {}, true, true, Action::Stop, false},
            {Qt::Key_Escape, {}, false, true, Action::None, false},
            {Qt::Key_Tab, ctrl, true, false, Action::NextTab, true},
            {Qt::Key_Backtab, ctrl | shift, true, false, Action::PreviousTab, true},
            {Qt::Key_Tab, {}, true, true, Action::None, false},
            {Qt::Key_Tab, ctrl, false, true, Action::None, false},
            {Qt::Key_F4, ctrl, true, true, Action::CloseDocument, false},
            {Qt::Key_F4, ctrl, true, false, Action::None, false},
            {Qt::Key_Home, alt, true, true, Action::Home, true},
            {Qt::Key_N, ctrl, true, false, Action::NewTab, true},
            {Qt::Key_O, ctrl | shift, true, false, Action::OpenFile, true},
            {Qt::Key_F9, {}, true, false, Action::QuickSearch, true},
            {Qt::Key_F9, {}, false, false, Action::None, false},
            {Qt::Key_A, ctrl, true, true, Action::None, false},
        };
        for (const Case &c : cases) {
            const Decision d = decide(c.key, c.modifiers, c.firstPress, c.document);
            QCOMPARE(int(d.action), int(c.action));
            QCOMPARE(d.swallowed, c.swallowed);
        }
    }

    // The page's own keys, and the zoom steps they take.
    void pageKeyRules()
    {
        using namespace ShortcutRules;
        const auto ctrl = Qt::ControlModifier, alt = Qt::AltModifier, shift = Qt::ShiftModifier;
        struct Case
        {
            int key;
            Qt::KeyboardModifiers modifiers;
            bool firstPress, findText;
            Action action;
        };
        const Case cases[] = {
            {Qt::Key_Left, alt, true, false, Action::Back},
            {Qt::Key_Left, alt | shift, true, false, Action::None},
            {Qt::Key_Right, alt, false, false, Action::None}, // auto-repeat
            {Qt::Key_F5, {}, true, false, Action::Refresh},
            {Qt::Key_F5, ctrl, true, false, Action::RefreshBypassCache},
            {Qt::Key_R, ctrl, true, false, Action::Refresh},
            {Qt::Key_R, ctrl | shift, true, false, Action::RefreshBypassCache},
            {Qt::Key_R, {}, true, false, Action::None},
            {Qt::Key_F3, {}, true, true, Action::FindNext},
            {Qt::Key_F3, shift, false, true, Action::FindPrevious},
            {Qt::Key_F3, {}, true, false, Action::None},
            {Qt::Key_Equal, ctrl, true, false, Action::ZoomIn},
            {Qt::Key_Plus, ctrl | shift, false, false, Action::ZoomIn},
            {Qt::Key_Minus, ctrl, true, false, Action::ZoomOut},
            {Qt::Key_0, ctrl, true, false, Action::ZoomReset},
            {Qt::Key_0, {}, true, false, Action::None},
            {Qt::Key_Backspace, {}, true, false, Action::None},
        };
        for (const Case &c : cases) {
            const Decision d = decidePageKey(c.key, c.modifiers, c.firstPress, c.findText);
            QCOMPARE(int(d.action), int(c.action));
            QCOMPARE(d.swallowed, c.action != Action::None);
        }
        QCOMPARE(WebBrowser::nextZoomFactor(1.0, 1), 1.1);
        QCOMPARE(WebBrowser::nextZoomFactor(1.0, -1), 0.9);
        QCOMPARE(WebBrowser::nextZoomFactor(1.2, 1), 1.25);
        QCOMPARE(WebBrowser::nextZoomFactor(5.0, 1), 5.0);
        QCOMPARE(WebBrowser::nextZoomFactor(0.25, -1), 0.25);
        QCOMPARE(WebBrowser::nextZoomFactor(3.0, 0), 1.0);
    }
};

QTEST_APPLESS_MAIN(TestShortcutRules)
#include "tst_shortcutrules.moc"
