#include <gtest/gtest.h>

#include <QApplication>

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
