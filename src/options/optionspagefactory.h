#pragma once

#include "optionspage.h"

class OptionsHost;
class QWidget;

// The number of pages of the options dialog.
inline constexpr int kOptionsPageCount = 12;

// Page n (1..12) of the options dialog, filled from the settings; nullptr for any other n.
OptionsPage *createOptionsPage(int n, OptionsHost &host, QWidget *parent);
