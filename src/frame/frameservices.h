#pragma once

class QString;
class QuickSearchDialog;

// What the frame window does itself, as its parts reach it: the quick search box, the side
// bar's sections and whether the close has begun. The frame window
// implements it; the parts see only this, never the window's own class.
class FrameServices
{
public:
    // The quick search box, made (hidden) on first use, and shown.
    virtual QuickSearchDialog *quickSearch() = 0;
    virtual void showQuickSearch() = 0;
    // Shows the side bar, open on the section of the key.
    virtual void showSidebarSection(const QString &key) = 0;
    // True once the frame's close has begun its unload.
    virtual bool isClosing() const = 0;

protected:
    ~FrameServices() = default;
};
