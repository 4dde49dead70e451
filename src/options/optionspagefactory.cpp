#include "optionspagefactory.h"

#include "generaloptionspage.h"
#include "skinsoptionspage.h"

OptionsPage *createOptionsPage(int n, OptionsHost &host, QWidget *parent)
{
    switch (n) {
    case 1:
        return new GeneralOptionsPage(host, parent);
    case 6:
        return new SkinsOptionsPage(host, parent);
    default:
        if (n >= 1 && n <= kOptionsPageCount)
            return new EmptyOptionsPage(host, parent);
        return nullptr;
    }
}
