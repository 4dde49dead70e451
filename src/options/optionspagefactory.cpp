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

OptionsPage *createOptionsPage(OptionsPageId page, OptionsHost &host, QWidget *parent)
{
    switch (page) {
    case OptionsPageId::General:
        return new GeneralOptionsPage(host, parent);
    case OptionsPageId::History:
        return new HistoryOptionsPage(host, parent);
    case OptionsPageId::UserSites:
        return new UserSitesPage(host, parent);
    case OptionsPageId::Sidebar:
        return new SidebarOptionsPage(host, parent);
    case OptionsPageId::CustomLinks:
        return new CustomLinksPage(host, parent);
    case OptionsPageId::Skins:
        return new SkinsOptionsPage(host, parent);
    case OptionsPageId::Control:
        return new ControlOptionsPage(host, parent);
    case OptionsPageId::Content:
        return new ContentOptionsPage(host, parent);
    case OptionsPageId::Forms:
        return new FormsOptionsPage(host, parent);
    case OptionsPageId::PopupKiller:
        return new PopupKillerOptionsPage(host, parent);
    case OptionsPageId::RssReader:
        return new RssOptionsPage(host, parent);
    case OptionsPageId::MouseGestures:
        return new MouseGesturesPage(host, parent);
    }
    return nullptr;
}
