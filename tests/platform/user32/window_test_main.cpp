// Test main for the window layer: a window-system application (offscreen
// unless QT_QPA_PLATFORM says otherwise), then the tests.
#include "platform/user32/testing.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    user32::testing::Application application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
