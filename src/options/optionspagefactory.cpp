#include "optionspagefactory.h"

#include "contentoptionspage.h"
#include "controloptionspage.h"
#include "customlinkspage.h"
#include "formsoptionspage.h"
#include "generaloptionspage.h"
#include "historyoptionspage.h"
#include "mousegesturespage.h"
#include "popupkilleroptionspage.h"
#include "rssoptionspage.h"
#include "sidebaroptionspage.h"
#include "skinsoptionspage.h"
#include "usersitespage.h"

OptionsPage *createOptionsPage(int n, OptionsHost &host, QWidget *parent)
{
    switch (n) {
    case 1:
        return new GeneralOptionsPage(host, parent);
    case 2:
        return new HistoryOptionsPage(host, parent);
    case 3:
        return new UserSitesPage(host, parent);
    case 4:
        return new SidebarOptionsPage(host, parent);
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
    case 10:
        return new PopupKillerOptionsPage(host, parent);
    case 11:
        return new RssOptionsPage(host, parent);
    case 12:
        return new MouseGesturesPage(host, parent);
    default:
        return nullptr;
    }
}
