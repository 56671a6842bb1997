// Entry point of the tests that need a real X server: starts a private
// Xvfb, then one QApplication on it for every GoogleTest case. Listing the
// cases needs no server.
#include "support/x_session.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    XSession session;
    std::string error;
    if (!session.Start(error)) {
        std::fprintf(stderr, "no X server for these tests: %s\n", error.c_str());
        return 1;
    }
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
