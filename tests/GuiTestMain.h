#pragma once
// The main of a test program that opens windows. Listing the tests (as the build does to
// register them) needs no display, so the application object is made only to run them.

#include <QApplication>
#include <QSurfaceFormat>
#include <gtest/gtest.h>

inline int RunGuiTests(int argc, char** argv, const QSurfaceFormat& format = {}) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QSurfaceFormat::setDefaultFormat(format);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
