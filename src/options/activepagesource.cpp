#include "activepagesource.h"

#include "optionshost.h"

const ActivePageSource *ActivePageSource::of(const OptionsHost &host)
{
    const auto *source = dynamic_cast<const ActivePageSource *>(&host);
    return source && source->hasActivePage() ? source : nullptr;
}
