# SPDX-License-Identifier: GPL-3.0-or-later
# The browser build's tests, in headless Chromium (tests/web/chromium.py):
# the behaviour suite and the storm, the same sources as on the desktops,
# compiled into test pages whose user input the harness makes real over the
# DevTools protocol (tests/driver_web.cpp); the decimal separator under two
# browser languages; and the site's own page (tests/web/site_check.py).

# GoogleTest from Debian's sources, built for the browser.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(web_tests ${CMAKE_CURRENT_SOURCE_DIR}/web)
set(pages ${CMAKE_CURRENT_BINARY_DIR}/pages)
set(make_page ${CMAKE_BINARY_DIR}/app/web/make_page)

add_custom_command(
    OUTPUT ${pages}/orvanta.css
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/site/orvanta.css ${pages}/orvanta.css
    DEPENDS ${CMAKE_BINARY_DIR}/site/orvanta.css web_site)
# orvanta_test_page(TARGET NAME): the program TARGET as the test page
# NAME.html in ${pages}: the page's address gives its arguments and
# environment, and it gives the harness its standard output and its exit
# status (web/test_page.js).
function(orvanta_test_page target name)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name} RUNTIME_OUTPUT_DIRECTORY ${pages})
    target_link_options(${target} PRIVATE "SHELL:--pre-js ${web_tests}/test_page.js" -sEXIT_RUNTIME=1
                        -sALLOW_MEMORY_GROWTH=1)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${web_tests}/test_page.js)
    orvanta_strict(${target})
    add_custom_command(
        OUTPUT ${pages}/${name}.html
        COMMAND ${make_page} test ${pages}/${name}.html ${name}.js
        DEPENDS make_page_tool ${make_page})
    add_custom_target(${name}_html ALL DEPENDS ${pages}/${name}.html ${pages}/orvanta.css)
endfunction()

foreach(suite test_behaviour test_storm)
    add_executable(${suite}_page ${suite}.cpp window_driver.h driver_web.cpp)
    target_link_libraries(${suite}_page PRIVATE window GTest::gtest)
    orvanta_test_page(${suite}_page ${suite})
    target_link_options(${suite}_page PRIVATE "SHELL:--pre-js ${web_tests}/driver_web.js")
    set_property(TARGET ${suite}_page APPEND PROPERTY LINK_DEPENDS ${web_tests}/driver_web.js)
endforeach()
# The calculation's table, compared with the Linux build's, and the lines the
# desktop printers print for the worked example.
add_executable(calc_table calc_table.cpp)
add_executable(report_lines report_lines.cpp)
foreach(program calc_table report_lines)
    target_link_libraries(${program} PRIVATE report)
    orvanta_test_page(${program} ${program})
endforeach()

set(run_page /usr/bin/python3 ${web_tests}/chromium.py ${pages})
add_test(NAME Web.Behaviour COMMAND ${run_page} test_behaviour.html)
# A storm of a size that keeps the run short; ./test.sh's desktop runs go
# further.
add_test(NAME Web.Storm COMMAND ${run_page} test_storm.html?ORVANTA_STORM_SEQUENCES=20&ORVANTA_STORM_ACTIONS=40)
foreach(region "Brazilian;pt-BR;," "English;en-US;.")
    list(GET region 0 name)
    list(GET region 1 language)
    list(GET region 2 separator)
    add_test(NAME Web.RegionalSeparator.${name}
             COMMAND ${run_page}
                     test_behaviour.html?arg=--gtest_filter=*RegionalDecimalSeparator*&ORVANTA_EXPECT_SEPARATOR=${separator}
                     1024x768 ${language})
endforeach()
set_tests_properties(Web.Behaviour Web.Storm PROPERTIES TIMEOUT 900)

if(NOT ORVANTA_LINUX_BUILD)
    message(WARNING "Web.SameInChromiumAsOnLinux fails without -DORVANTA_LINUX_BUILD=<the Linux build folder>")
endif()
# The site's own rows: tests/web/site_check.py CHECK ARGUMENT...
function(orvanta_site_check name)
    add_test(NAME Web.${name} COMMAND /usr/bin/python3 ${web_tests}/site_check.py ${ARGN})
    set_tests_properties(Web.${name} PROPERTIES TIMEOUT 300)
endfunction()
set(site ${CMAKE_BINARY_DIR}/site)
orvanta_site_check(SiteFilesKeptOffline cached ${site})
orvanta_site_check(SameInChromiumAsOnLinux oracle ${pages} calc_table ${ORVANTA_LINUX_BUILD}/tests/calc_table)
orvanta_site_check(PrintedPage printed ${site} ${pages} report_lines)
orvanta_site_check(CalculatesOffline offline ${site})
orvanta_site_check(PhoneWorkedExampleNoSidewaysScroll narrow ${site})
orvanta_site_check(FormCentredCaptionsWhole captions ${site})
orvanta_site_check(MessageBox message ${site})
orvanta_site_check(AccessibilityNames names ${site} ${ORVANTA_LINUX_BUILD}/tests/screen_reader_names)
