# The report's composition and number texts, against a recording printer.
add_executable(test_report test_report.cpp)
target_link_libraries(test_report PRIVATE report_core GTest::gtest_main)
orvanta_strict(test_report)
gtest_discover_tests(test_report)

# The report tests that need Qt share a main (a QGuiApplication on the
# offscreen platform) and the PDF readers.
add_library(report_qt_testing OBJECT test_report_qt_main.cpp test_report_pdf.h test_report_pdf.cpp)
target_link_libraries(report_qt_testing PUBLIC report GTest::gtest Qt6::Gui)
orvanta_strict(report_qt_testing)

add_executable(test_report_paper test_report_paper.cpp)
target_link_libraries(test_report_paper PRIVATE report_qt_testing)
orvanta_strict(test_report_paper)
gtest_discover_tests(test_report_paper PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
