#pragma once

#include "optionspage.h"

#include <array>

class QCheckBox;

// Which kinds of page content documents may load and run.
class ContentOptionsPage : public OptionsPage
{
    Q_OBJECT
public:
    static constexpr int kSwitches = 8;

    explicit ContentOptionsPage(OptionsHost &host, QWidget *parent = nullptr);

    void save() override;

private:
    void load();

    std::array<QCheckBox *, kSwitches> m_switches{};
};
