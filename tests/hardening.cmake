# SPDX-License-Identifier: GPL-3.0-or-later
# Hardening tests: seeded storms of user actions on the real window
# (tests/windows_window.cmake runs them on Win32 under Wine).
# The sanitizer run of scripts/hardening.sh raises the count.
set(ORVANTA_STORM_SEQUENCES 100 CACHE STRING "Action sequences the window storm runs")
set(ORVANTA_STORM_ACTIONS 50 CACHE STRING "Actions in each storm sequence")

add_executable(test_storm test_storm.cpp window_driver.h driver_qt.cpp)
target_link_libraries(test_storm PRIVATE window GTest::gtest Qt6::Test)
orvanta_strict(test_storm)
add_test(NAME Storm.SeededActionSequences COMMAND test_storm)
set_tests_properties(Storm.SeededActionSequences PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORVANTA_STORM_SEQUENCES=${ORVANTA_STORM_SEQUENCES};ORVANTA_STORM_ACTIONS=${ORVANTA_STORM_ACTIONS}")

# Faults the storms and fuzzers found, one row each.
add_executable(test_regressions test_regressions.cpp)
target_link_libraries(test_regressions PRIVATE window qt_test_main Qt6::Test)
orvanta_strict(test_regressions)
gtest_discover_tests(test_regressions PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
