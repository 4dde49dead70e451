#include "optionspage.h"

#include "core/strings.h"

OptionsPage::OptionsPage(OptionsHost &host, QWidget *parent) : QWidget(parent), m_host(host) {}

void OptionsPage::localise()
{
    // A page follows the rules of a form, but has no caption of its own.
    loadResStringsControls(this);
}
