// SPDX-License-Identifier: GPL-3.0-or-later
// Runs GoogleTest inside a QApplication; without a display the tests use
// Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    // CTest runs some suites by name: a filter that selects nothing must not
    // pass unseen.
    if (!GTEST_FLAG_GET(list_tests) && testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "no test matches the filter\n");
        return 1;
    }
    return result;
}
