# The report's composition and number texts, against a recording printer.
add_executable(test_report test_report.cpp)
target_link_libraries(test_report PRIVATE report_core GTest::gtest_main)
orvanta_strict(test_report)
gtest_discover_tests(test_report)
