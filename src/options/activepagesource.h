#pragma once

#include <QString>

class OptionsHost;

// The page in the frame's active tab, as the "Use Current" buttons copy it. The frame's options
// host offers it by implementing this interface as well; a host without it has no active page.
class ActivePageSource
{
public:
    virtual ~ActivePageSource() = default;

    virtual bool hasActivePage() const = 0;
    virtual QString activePageTitle() const = 0;
    virtual QString activePageAddress() const = 0;

    // The host's active page, or null when there is none.
    static const ActivePageSource *of(const OptionsHost &host);
};
