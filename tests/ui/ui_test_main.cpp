#include <gtest/gtest.h>

#include <QApplication>

#include "qt_window_driver.h"

namespace morvane::ui::scenarios {

std::unique_ptr<WindowDriver> MakeWindowDriver() {
    return std::make_unique<QtWindowDriver>();
}

}  // namespace morvane::ui::scenarios

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests happens at build time, where there may be no display
    // and no offscreen platform chosen; it needs no window either.
    if (testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("morvane");
    return RUN_ALL_TESTS();
}
