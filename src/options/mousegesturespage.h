#pragma once

#include "optionspage.h"

#include <array>

class QComboBox;

// Page 12 of the options: which action each of the twelve right-button gestures runs.
class MouseGesturesPage : public OptionsPage
{
    Q_OBJECT
public:
    static constexpr int kGestures = 12;
    // Action numbers run from 0 (the gesture does nothing) to kActions - 1.
    static constexpr int kActions = 18;

    explicit MouseGesturesPage(OptionsHost &host, QWidget *parent = nullptr);

    void save() override;

private:
    void load();

    std::array<QComboBox *, kGestures> m_lists{};
};
