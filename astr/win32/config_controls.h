// How the configuration dialog shows each setting and what it writes back:
// a check box, or a group of three radio buttons whose index is the stored
// number. Plain logic; the dialog procedure only moves states in and out.
#pragma once

#include <cstdint>

#include "../core/settings.h"

enum SettingControlKind {
    TickedWhenNonZero,  // a check box
    TickedWhenOne,      // a check box that shows only 1 as ticked
    RadioGroup,         // three radio buttons with consecutive ids
};

struct SettingControls {
    Setting setting;
    int firstButton;  // the id of its check box, or of its group's first radio button
    SettingControlKind kind;
};

constexpr int maxButtonsPerSetting = 3;

// The seven settings in the order the dialog reads and writes them.
extern const SettingControls settingControls[settingCount];

int buttonCount(const SettingControls& controls);  // 1 or 3

// Which of the setting's buttons are on for a stored value: checked[i] for
// the button firstButton + i. Every value turns on exactly one radio button.
void buttonsForStoredValue(const SettingControls& controls, int32_t stored, bool checked[maxButtonsPerSetting]);

// The value that OK writes for the buttons' states: 1 or 0 for a check box;
// for a radio group 2 when the third is on, else 1 when the second is, else 0.
int32_t valueForButtons(const SettingControls& controls, const bool checked[maxButtonsPerSetting]);
