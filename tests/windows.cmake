# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build's tests, cross-built with MinGW-w64 and run under Wine
# (tests/wine/run.sh, the toolchain's emulator). Every Wine process gets a
# prefix in the build tree, never ~/.wine. One ctest test per executable:
# each Wine start costs seconds.

# GoogleTest from Debian's sources, built for Windows with the tests.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Where the Wine prefixes, the display file and the private spoolers live.
set(ORVANTA_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(ORVANTA_WINE_DISPLAY_FILE ${ORVANTA_WINE_DIR}/display)
# A socket's path must stay short (108 bytes): a deep build tree keeps its
# spoolers in a temporary folder of its own.
set(ORVANTA_WINE_CUPS_DIR ${ORVANTA_WINE_DIR}/cups)
string(LENGTH "${ORVANTA_WINE_CUPS_DIR}-empty/cups.sock" _orvanta_socket_length)
if(_orvanta_socket_length GREATER 100)
    string(MD5 _orvanta_cups_id "${CMAKE_BINARY_DIR}")
    string(SUBSTRING "${_orvanta_cups_id}" 0 12 _orvanta_cups_id)
    set(ORVANTA_WINE_CUPS_DIR /tmp/orvanta-wine-cups-${_orvanta_cups_id})
endif()
set(_orvanta_wine ${CMAKE_CURRENT_SOURCE_DIR}/wine)

# orvanta_wine_prefix(NAME [FROM_TEMPLATE]): fixture orvanta_wine_prefix_NAME
# makes a fresh prefix ${ORVANTA_WINE_DIR}/NAME before its tests and removes
# it after. FROM_TEMPLATE: a copy of the prefix "template", made once per run
# (Wine's set-up takes seconds of the processor each time).
function(orvanta_wine_prefix name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "FROM_TEMPLATE" "" "")
    if(TEST orvanta_wine_prefix_${name}_make)
        return()
    endif()
    set(environment ORVANTA_WINE_PREFIX=${ORVANTA_WINE_DIR}/${name})
    if(arg_FROM_TEMPLATE)
        orvanta_wine_prefix(template)
        list(APPEND environment ORVANTA_WINE_TEMPLATE=${ORVANTA_WINE_DIR}/template)
    elseif(name STREQUAL "template")
        # No window manager runs on the private X server, and console tests
        # show no window: every copy is made for a display without one.
        list(APPEND environment ORVANTA_WINE_NO_WINDOW_MANAGER=1)
    endif()
    add_test(NAME orvanta_wine_prefix_${name}_make COMMAND bash ${_orvanta_wine}/prefix.sh)
    add_test(NAME orvanta_wine_prefix_${name}_remove COMMAND bash ${_orvanta_wine}/prefix.sh --stop)
    set_tests_properties(orvanta_wine_prefix_${name}_make PROPERTIES FIXTURES_SETUP orvanta_wine_prefix_${name}
                         ENVIRONMENT "${environment}" TIMEOUT 120)
    set_tests_properties(orvanta_wine_prefix_${name}_remove PROPERTIES FIXTURES_CLEANUP orvanta_wine_prefix_${name}
                         ENVIRONMENT "${environment}")
    if(arg_FROM_TEMPLATE)
        set_tests_properties(orvanta_wine_prefix_${name}_make PROPERTIES FIXTURES_REQUIRED orvanta_wine_prefix_template)
    endif()
endfunction()

# orvanta_wine_display(): fixture orvanta_wine_display, the private X server
# of all window tests of the tree. Its stop also ends the window tests'
# wineserver.
function(orvanta_wine_display)
    if(TEST orvanta_wine_display_start)
        return()
    endif()
    set(script ${_orvanta_wine}/display.sh)
    add_test(NAME orvanta_wine_display_start COMMAND bash ${script} start ${ORVANTA_WINE_DISPLAY_FILE})
    add_test(NAME orvanta_wine_display_stop COMMAND bash ${script} stop ${ORVANTA_WINE_DISPLAY_FILE})
    set_tests_properties(orvanta_wine_display_start PROPERTIES FIXTURES_SETUP orvanta_wine_display)
    set_tests_properties(orvanta_wine_display_stop PROPERTIES FIXTURES_CLEANUP orvanta_wine_display
                         ENVIRONMENT ORVANTA_WINE_PREFIX=${ORVANTA_WINE_DIR}/gui)
endfunction()

# The private CUPS spoolers (tests/cups/start.sh), whose queues Wine's
# printers are: orvanta_wine_cups has the default printer orvanta,
# orvanta_wine_cups_empty none.
include(${CMAKE_CURRENT_SOURCE_DIR}/cups/fixture.cmake)
orvanta_cups_fixture(orvanta_wine_cups ${ORVANTA_WINE_CUPS_DIR} orvanta_wine_cups)
orvanta_cups_fixture(orvanta_wine_cups_empty ${ORVANTA_WINE_CUPS_DIR}-empty orvanta_wine_cups_empty
                     --no-printer)

# orvanta_wine_test(NAME name COMMAND program [arguments...] [GUI] [CUPS | CUPS_EMPTY]
#                   [FRESH_PREFIX] [TIMEOUT seconds] [ENVIRONMENT variable=value...])
# A test under Wine. COMMAND is a Windows executable target (run through
# tests/wine/run.sh) or any other program (a script, which gets the same
# environment and calls run.sh itself). The tests share one prefix, made
# fresh for each ctest run; GUI tests share another and run on the tree's
# private X server (fixture orvanta_wine_display), one at a time.
# FRESH_PREFIX gives the test a new prefix of its own. CUPS (CUPS_EMPTY)
# prints through the private spooler with (without) a default printer, which
# Wine takes its printers from when the prefix is made, and so implies
# FRESH_PREFIX; the spooler's folder is ORVANTA_CUPS_DIR.
function(orvanta_wine_test)
    cmake_parse_arguments(PARSE_ARGV 0 arg "GUI;CUPS;CUPS_EMPTY;FRESH_PREFIX" "NAME;TIMEOUT" "COMMAND;ENVIRONMENT")
    if(NOT arg_NAME OR NOT arg_COMMAND)
        message(FATAL_ERROR "orvanta_wine_test: NAME and COMMAND are required")
    endif()
    set(prefix console)
    if(arg_GUI)
        set(prefix gui)
    endif()
    if(arg_FRESH_PREFIX OR arg_CUPS OR arg_CUPS_EMPTY)
        # A folder named as the test could be no folder for Wine, which, as
        # Windows does, drops a name's trailing dots: letters, digits and _
        # only, and a hash of the name to keep "a." apart from "a,".
        string(MAKE_C_IDENTIFIER "${arg_NAME}" safe)
        string(MD5 hash "${arg_NAME}")
        string(SUBSTRING "${hash}" 0 6 hash)
        set(prefix test-${safe}-${hash})
    endif()
    # A prefix that takes a spooler's printers is set up with them.
    if(arg_CUPS OR arg_CUPS_EMPTY)
        orvanta_wine_prefix(${prefix})
    else()
        orvanta_wine_prefix(${prefix} FROM_TEMPLATE)
    endif()
    set(fixtures)
    set(environment ORVANTA_WINE_PREFIX=${ORVANTA_WINE_DIR}/${prefix} ${arg_ENVIRONMENT})
    set(locks)
    if(arg_GUI)
        orvanta_wine_display()
        list(APPEND fixtures orvanta_wine_display)
        list(APPEND environment ORVANTA_WINE_DISPLAY=${ORVANTA_WINE_DISPLAY_FILE})
        # One window active at a time on the shared display: a window that
        # another test activates takes the keyboard focus from this one's.
        list(APPEND locks orvanta_wine_display)
    endif()
    foreach(kind CUPS CUPS_EMPTY)
        if(arg_${kind})
            set(dir ${ORVANTA_WINE_CUPS_DIR})
            set(fixture orvanta_wine_cups)
            if(kind STREQUAL CUPS_EMPTY)
                set(dir ${dir}-empty)
                set(fixture ${fixture}_empty)
            endif()
            list(APPEND fixtures ${fixture})
            list(APPEND locks ${fixture})
            list(APPEND environment CUPS_SERVER=${dir}/cups.sock CUPS_SERVERROOT=${dir}/client ORVANTA_CUPS_DIR=${dir})
        endif()
    endforeach()
    # The prefix takes the spooler's printers when it is made: its fixture
    # runs after the spooler's, in the test's environment.
    if(arg_CUPS OR arg_CUPS_EMPTY)
        set_tests_properties(orvanta_wine_prefix_${prefix}_make PROPERTIES FIXTURES_REQUIRED "${fixtures}"
                             ENVIRONMENT "${environment}")
    endif()
    list(APPEND fixtures orvanta_wine_prefix_${prefix})
    add_test(NAME ${arg_NAME} COMMAND ${arg_COMMAND} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    if(NOT arg_TIMEOUT)
        set(arg_TIMEOUT 120)
    endif()
    set_tests_properties(${arg_NAME} PROPERTIES FIXTURES_REQUIRED "${fixtures}" ENVIRONMENT "${environment}"
                         TIMEOUT ${arg_TIMEOUT})
    if(locks)
        set_tests_properties(${arg_NAME} PROPERTIES RESOURCE_LOCK "${locks}")
    endif()
endfunction()

add_executable(test_calc test_lens.cpp test_number_text.cpp)
target_link_libraries(test_calc PRIVATE calc gtest_main)
orvanta_strict(test_calc)
orvanta_wine_test(NAME test_calc COMMAND test_calc)

add_executable(test_report test_report.cpp)
target_link_libraries(test_report PRIVATE report gtest_main)
orvanta_strict(test_report)
orvanta_wine_test(NAME test_report COMMAND test_report)

# The calculation gives the same bits and texts as on Linux: the Linux
# build's calc_table (-DORVANTA_LINUX_BUILD=<its build folder>) against this
# one, run under Wine.
add_executable(calc_table calc_table.cpp)
target_link_libraries(calc_table PRIVATE report)
orvanta_strict(calc_table)
set(ORVANTA_LINUX_BUILD "" CACHE PATH "The Linux build folder whose tests/calc_table the Windows one is compared with")
if(NOT ORVANTA_LINUX_BUILD)
    message(WARNING "Calc.SameOnWindowsAsOnLinux fails without -DORVANTA_LINUX_BUILD=<the Linux build folder>")
endif()
orvanta_wine_test(NAME Calc.SameOnWindowsAsOnLinux
                  COMMAND bash ${_orvanta_wine}/same_table.sh ${ORVANTA_LINUX_BUILD}/tests/calc_table
                          $<TARGET_FILE:calc_table>)

# The report on paper through Wine's spooler, whose printers are the private
# CUPS queues: the kept PostScript read back with ghostscript.
add_executable(test_gdi_printer test_gdi_printer.cpp)
target_link_libraries(test_gdi_printer PRIVATE report_gdi gtest_main winspool)
orvanta_strict(test_gdi_printer)
orvanta_wine_test(NAME report_gdi_prints CUPS COMMAND bash ${_orvanta_wine}/gdi_print.sh
                                                      $<TARGET_FILE:test_gdi_printer>)
orvanta_wine_test(NAME report_gdi_no_printer CUPS_EMPTY COMMAND test_gdi_printer --gtest_filter=EmptySpooler.*)
