#pragma once

#include "optionspage.h"

#include "core/optionspageid.h"

class OptionsHost;
class QWidget;

// The number of pages of the options dialog: the last page's number.
inline constexpr int kOptionsPageCount = int(OptionsPageId::MouseGestures);

// A page of the options dialog, filled from the settings.
OptionsPage *createOptionsPage(OptionsPageId page, OptionsHost &host, QWidget *parent);
