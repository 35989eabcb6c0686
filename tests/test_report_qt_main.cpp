// Entry of the report tests that need Qt: printing wants a QGuiApplication,
// here on the offscreen platform so that the tests run headless.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    // A filter that selects nothing would pass unseen: the tests are run by
    // name from CTest.
    if (!GTEST_FLAG_GET(list_tests) && testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "no test matches the filter\n");
        return 1;
    }
    return result;
}
