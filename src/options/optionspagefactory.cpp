#include "optionspagefactory.h"

#include "contentoptionspage.h"
#include "controloptionspage.h"
#include "customlinkspage.h"
#include "formsoptionspage.h"
#include "generaloptionspage.h"
#include "skinsoptionspage.h"
#include "usersitespage.h"

OptionsPage *createOptionsPage(int n, OptionsHost &host, QWidget *parent)
{
    switch (n) {
    case 1:
        return new GeneralOptionsPage(host, parent);
    case 3:
        return new UserSitesPage(host, parent);
    case 5:
        return new CustomLinksPage(host, parent);
    case 6:
        return new SkinsOptionsPage(host, parent);
    case 7:
        return new ControlOptionsPage(host, parent);
    case 8:
        return new ContentOptionsPage(host, parent);
    case 9:
        return new FormsOptionsPage(host, parent);
    default:
        if (n >= 1 && n <= kOptionsPageCount)
            return new EmptyOptionsPage(host, parent);
        return nullptr;
    }
}
