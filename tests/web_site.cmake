# SPDX-License-Identifier: GPL-3.0-or-later
# The site as the browser has it, in headless Chromium (tests/web/site_check.py,
# through tests/web/chromium.py): its offline copy, the calculation's bits,
# the printed page, phone screens and the accessibility tree. The site is
# built by web_site into ${CMAKE_BINARY_DIR}/site.
set(_site ${CMAKE_BINARY_DIR}/site)
set(_site_test /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/web/site_check.py)

# Command-line test programs run in a page of their own, next to them.
configure_file(web/program.html ${CMAKE_CURRENT_BINARY_DIR}/program.html COPYONLY)
configure_file(web/program.js ${CMAKE_CURRENT_BINARY_DIR}/program.js COPYONLY)
# The lines the desktop printers print for the worked example.
add_executable(report_lines web/report_lines.cpp)
target_link_libraries(report_lines PRIVATE report)
target_link_options(report_lines PRIVATE -sEXIT_RUNTIME=1)
orvanta_strict(report_lines)

# ORVANTA_LINUX_BUILD (tests/CMakeLists.txt): the Linux build folder.
if(NOT ORVANTA_LINUX_BUILD)
    message(WARNING "Web.SameInChromiumAsOnLinux fails without -DORVANTA_LINUX_BUILD=<the Linux build folder>")
endif()

add_test(NAME Web.SiteFilesKeptOffline COMMAND ${_site_test} cached ${_site})
add_test(NAME Web.SameInChromiumAsOnLinux
         COMMAND ${_site_test} oracle $<TARGET_FILE_DIR:calc_table> $<TARGET_FILE_BASE_NAME:calc_table>
                 ${ORVANTA_LINUX_BUILD}/tests/calc_table)
add_test(NAME Web.PrintedPage
         COMMAND ${_site_test} printed ${_site} $<TARGET_FILE_DIR:report_lines> $<TARGET_FILE_BASE_NAME:report_lines>)
add_test(NAME Web.CalculatesOffline COMMAND ${_site_test} offline ${_site})
add_test(NAME Web.PhoneNoSidewaysScroll COMMAND ${_site_test} narrow ${_site})
add_test(NAME Web.CaptionsShowWhole COMMAND ${_site_test} captions ${_site})
add_test(NAME Web.AccessibilityNames COMMAND ${_site_test} names ${_site})
set_tests_properties(Web.SiteFilesKeptOffline Web.SameInChromiumAsOnLinux Web.PrintedPage Web.CalculatesOffline
                     Web.PhoneNoSidewaysScroll Web.CaptionsShowWhole Web.AccessibilityNames PROPERTIES TIMEOUT 300)
