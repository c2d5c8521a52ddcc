// Natively the picture is drawn on an Xvfb of the test program's own,
// started before the first test; it ends with the program.
#include <gtest/gtest.h>

#include <cstdlib>

#include "x11_driver.h"

namespace {

class OwnDisplay : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (std::system("command -v Xvfb >/dev/null") != 0)
            GTEST_SKIP() << "no Xvfb on PATH to draw on (Debian's xvfb, which tools/install-deps.sh installs)";
        ASSERT_NE(x11driver::startServer(), nullptr) << "Xvfb did not start";
    }
};

::testing::Environment* const ownDisplay = ::testing::AddGlobalTestEnvironment(new OwnDisplay);

}  // namespace
