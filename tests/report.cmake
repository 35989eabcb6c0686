# SPDX-License-Identifier: GPL-3.0-or-later
# The report's composition and number texts, against a recording printer.
add_executable(test_report test_report.cpp)
target_link_libraries(test_report PRIVATE report GTest::gtest_main)
orvanta_strict(test_report)
gtest_discover_tests(test_report)

# The worked example's page as the CUPS printer writes it into a PDF file
# (report_sample), checked as every printer's page is (check_page.py)
# against the lines the report prints (report_lines); a file that cannot be
# written is a print error.
set_target_properties(report_sample PROPERTIES EXCLUDE_FROM_ALL OFF)
add_executable(report_lines report_lines.cpp)
target_link_libraries(report_lines PRIVATE report)
orvanta_strict(report_lines)
add_test(NAME PaperReport.WorkedExamplePage
         COMMAND bash -c [[scratch=$(mktemp -d) && trap 'rm -rf "$scratch"' EXIT && "$1" "$scratch/page.pdf" &&
                           "$2" >"$scratch/expected.txt" && python3 "$3" "$scratch/page.pdf" "$scratch/expected.txt"]]
                 paper $<TARGET_FILE:report_sample> $<TARGET_FILE:report_lines> ${CMAKE_CURRENT_SOURCE_DIR}/check_page.py)
add_test(NAME PaperReport.UnwritableFileIsAPrintError
         COMMAND report_sample /nonexistent-directory/report.pdf)
set_tests_properties(PaperReport.WorkedExamplePage PaperReport.UnwritableFileIsAPrintError PROPERTIES
                     ENVIRONMENT QT_QPA_PLATFORM=offscreen)
set_tests_properties(PaperReport.UnwritableFileIsAPrintError PROPERTIES
                     PASS_REGULAR_EXPRESSION "report_sample: O arquivo /nonexistent-directory/report.pdf não pode ser gravado")

# Private CUPS spoolers (tests/cups/), run as the user who runs the tests: a
# cupsd of their own on a socket under /tmp (short enough for a socket path),
# never the system's. Fixture orvanta_cups has the queues that start.sh
# lists, the default one printing into /dev/null while the spooler keeps
# each document in ${ORVANTA_CUPS_DIR}/spool; orvanta_cups_empty has no
# printer. A test that prints through one requires its fixture, takes the
# lock orvanta_cups and gets ORVANTA_CUPS_ENV (or ORVANTA_CUPS_EMPTY_ENV) as
# its environment, which names the spooler's folder as ORVANTA_CUPS_DIR and
# the proxy that breaks uploads (tests/cups/upload_proxy.py).
# ORVANTA_CUPS_STOPPED_ENV points at a spooler that is not running.
string(MD5 _orvanta_cups_id "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${_orvanta_cups_id}" 0 12 _orvanta_cups_id)
set(ORVANTA_CUPS_DIR /tmp/orvanta-cups-${_orvanta_cups_id})

function(orvanta_cups_env variable dir)
    set(${variable} CUPS_SERVER=${dir}/cups.sock CUPS_SERVERROOT=${dir}/client HOME=${dir}/home
        XDG_RUNTIME_DIR=${dir}/runtime ORVANTA_CUPS_DIR=${dir}
        ORVANTA_UPLOAD_PROXY=${CMAKE_CURRENT_SOURCE_DIR}/cups/upload_proxy.py PARENT_SCOPE)
endfunction()
orvanta_cups_env(ORVANTA_CUPS_ENV ${ORVANTA_CUPS_DIR})
orvanta_cups_env(ORVANTA_CUPS_EMPTY_ENV ${ORVANTA_CUPS_DIR}-empty)
orvanta_cups_env(ORVANTA_CUPS_STOPPED_ENV ${ORVANTA_CUPS_DIR}-stopped)

include(${CMAKE_CURRENT_SOURCE_DIR}/cups/fixture.cmake)
orvanta_cups_fixture(orvanta_cups ${ORVANTA_CUPS_DIR} orvanta_cups)
orvanta_cups_fixture(orvanta_cups_empty ${ORVANTA_CUPS_DIR}-empty orvanta_cups --no-printer)

add_executable(test_report_cups test_report_cups.cpp)
target_link_libraries(test_report_cups PRIVATE report_cups window qt_test_main Qt6::Test)
orvanta_strict(test_report_cups)
add_test(NAME report_cups_prints COMMAND test_report_cups --gtest_filter=PrivateSpooler.*)
set_tests_properties(report_cups_prints PROPERTIES FIXTURES_REQUIRED orvanta_cups RESOURCE_LOCK orvanta_cups
                     ENVIRONMENT "${ORVANTA_CUPS_ENV}" TIMEOUT 300)
add_test(NAME report_cups_no_printer COMMAND test_report_cups --gtest_filter=EmptySpooler.*)
set_tests_properties(report_cups_no_printer PROPERTIES FIXTURES_REQUIRED orvanta_cups_empty
                     RESOURCE_LOCK orvanta_cups ENVIRONMENT "${ORVANTA_CUPS_EMPTY_ENV}")
add_test(NAME report_cups_stopped COMMAND test_report_cups --gtest_filter=StoppedSpooler.*)
set_tests_properties(report_cups_stopped PROPERTIES ENVIRONMENT "${ORVANTA_CUPS_STOPPED_ENV}" TIMEOUT 120)
# CUPS's administration commands (lpadmin, cupsenable...) live in /usr/sbin,
# which an ordinary user's PATH lacks.
set_tests_properties(report_cups_prints report_cups_no_printer report_cups_stopped PROPERTIES
                     ENVIRONMENT_MODIFICATION "PATH=path_list_append:/usr/sbin")
