#include <gtest/gtest.h>

#include <QApplication>

#include "support_qt/LaptopScreen.h"

// The window tests need a running application object. Test discovery runs
// the binary without CTest's environment, so the offscreen platform is the
// default when no other one was asked for; its screen is a laptop's.
int main(int argc, char** argv) {
    orvan::test::UseLaptopScreen();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
