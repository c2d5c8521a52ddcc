// Checks of what a built program carries in its resources.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_template.h"

// Each program's icon is one 32 x 32 image in 256 colours.
inline ::testing::AssertionResult isOne32By32IconIn256Colours(const std::string& program, const char* name)
{
    const std::vector<ui::IconImage> images = ui::readIconGroup(program, name);
    if (images.size() != 1)
        return ::testing::AssertionFailure() << name << " holds " << images.size() << " images";
    const ui::IconImage& image = images[0];
    if (image.width != 32 || image.height != 32 || image.bitCount != 8)
        return ::testing::AssertionFailure() << name << " is " << image.width << " x " << image.height << " at "
                                             << image.bitCount << " bits";
    return ::testing::AssertionSuccess();
}
