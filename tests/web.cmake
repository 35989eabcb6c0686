# SPDX-License-Identifier: GPL-3.0-or-later
# The browser build's tests, in headless Chromium (tests/web/chromium.py):
# the behaviour suite and the storm, the same sources as on the desktops,
# compiled into test pages whose user input the harness makes real over the
# DevTools protocol (tests/driver_web.cpp, tests/web/chromium.py run-page); the
# decimal separator under two browser languages; the worked example in the
# site's own page at a desktop's and at a phone's size; its message box;
# and the site as the browser keeps it (tests/web/site_check.py): its offline
# copy, the calculation's bits against the Linux build's, the printed page,
# phone screens, captions and the accessibility tree.

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
add_executable(report_lines web/report_lines.cpp)
foreach(program calc_table report_lines)
    target_link_libraries(${program} PRIVATE report)
    orvanta_test_page(${program} ${program})
endforeach()

set(run_page /usr/bin/python3 ${web_tests}/chromium.py run-page ${pages})
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
set(site_check /usr/bin/python3 ${web_tests}/site_check.py)
set(site ${CMAKE_BINARY_DIR}/site)
foreach(screen "Desktop;1024x768" "Phone;360x740")
    list(GET screen 0 name)
    list(GET screen 1 size)
    add_test(NAME Web.WorkedExample.${name} COMMAND ${site_check} typed ${site} ${size})
endforeach()
add_test(NAME Web.MessageBox COMMAND ${site_check} message ${site})
set_tests_properties(Web.Behaviour Web.Storm PROPERTIES TIMEOUT 900)

set(ORVANTA_LINUX_BUILD "" CACHE PATH "The Linux build folder whose tests/calc_table the browser's is compared with")
if(NOT ORVANTA_LINUX_BUILD)
    message(WARNING "Web.SameInChromiumAsOnLinux fails without -DORVANTA_LINUX_BUILD=<the Linux build folder>")
endif()

add_test(NAME Web.SiteFilesKeptOffline COMMAND ${site_check} cached ${site})
add_test(NAME Web.SameInChromiumAsOnLinux
         COMMAND ${site_check} oracle ${pages} calc_table ${ORVANTA_LINUX_BUILD}/tests/calc_table)
add_test(NAME Web.PrintedPage COMMAND ${site_check} printed ${site} ${pages} report_lines)
add_test(NAME Web.CalculatesOffline COMMAND ${site_check} offline ${site})
add_test(NAME Web.PhoneNoSidewaysScroll COMMAND ${site_check} narrow ${site})
add_test(NAME Web.CaptionsShowWhole COMMAND ${site_check} captions ${site})
add_test(NAME Web.AccessibilityNames COMMAND ${site_check} names ${site} ${ORVANTA_LINUX_BUILD}/tests/screen_reader_names)
set_tests_properties(Web.SiteFilesKeptOffline Web.SameInChromiumAsOnLinux Web.PrintedPage Web.CalculatesOffline
                     Web.PhoneNoSidewaysScroll Web.CaptionsShowWhole Web.AccessibilityNames PROPERTIES TIMEOUT 300)
