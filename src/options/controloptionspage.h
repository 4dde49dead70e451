#pragma once

#include "optionspage.h"

#include <array>

class QComboBox;

// Where the toolbars' and side bar's clicks open pages, and what each click on a tab does.
class ControlOptionsPage : public OptionsPage
{
    Q_OBJECT
public:
    explicit ControlOptionsPage(OptionsHost &host, QWidget *parent = nullptr);

    void save() override;

private:
    void load();

    std::array<QComboBox *, 4> m_newTab{};
    std::array<QComboBox *, 5> m_tabActions{};
};
