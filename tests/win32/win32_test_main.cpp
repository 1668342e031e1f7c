// The desktop program's tests: the real windows, driven by messages, under Wine.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/startup.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!RegisterWindowClasses(GetModuleHandleA(nullptr))) {
        return 1;
    }
    return RUN_ALL_TESTS();
}
