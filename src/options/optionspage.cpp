#include "optionspage.h"

OptionsPage::OptionsPage(OptionsHost &host, QWidget *parent) : QWidget(parent), m_host(host) {}

void OptionsPage::localise()
{
    // Placeholder until the page localiser is built.
}
