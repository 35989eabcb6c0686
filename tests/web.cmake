# SPDX-License-Identifier: GPL-3.0-or-later
# The browser build's tests, in headless Chromium (tests/web/chromium.py):
# the behaviour suite and the storm, the same sources as on the desktops,
# compiled into test pages whose user input the harness makes real over the
# DevTools protocol (tests/driver_web.cpp, tests/web/run_suite.py); the
# decimal separator under two browser languages; the worked example in the
# site's own page at a desktop's and at a phone's size; its message box.

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
foreach(suite test_behaviour test_storm)
    add_executable(${suite}_page ${suite}.cpp window_driver.h driver_web.cpp)
    set_target_properties(${suite}_page PROPERTIES OUTPUT_NAME ${suite} RUNTIME_OUTPUT_DIRECTORY ${pages})
    target_link_libraries(${suite}_page PRIVATE window GTest::gtest)
    target_link_options(${suite}_page PRIVATE "SHELL:--pre-js ${web_tests}/test_page.js"
                        "SHELL:--pre-js ${web_tests}/driver_web.js" -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1)
    set_property(TARGET ${suite}_page APPEND PROPERTY LINK_DEPENDS ${web_tests}/test_page.js
                 ${web_tests}/driver_web.js)
    orvanta_strict(${suite}_page)
    add_custom_command(
        OUTPUT ${pages}/${suite}.html
        COMMAND ${make_page} test ${pages}/${suite}.html ${suite}.js
        DEPENDS make_page_tool ${make_page})
    add_custom_target(${suite}_html ALL DEPENDS ${pages}/${suite}.html ${pages}/orvanta.css)
endforeach()

set(run_suite /usr/bin/python3 ${web_tests}/run_suite.py ${pages})
add_test(NAME Web.Behaviour COMMAND ${run_suite} test_behaviour.html)
# A storm of a size that keeps the run short; ./test.sh's desktop runs go
# further.
add_test(NAME Web.Storm COMMAND ${run_suite} test_storm.html --query ORVANTA_STORM_SEQUENCES=20
                                --query ORVANTA_STORM_ACTIONS=40)
foreach(region "Brazilian;pt-BR;," "English;en-US;.")
    list(GET region 0 name)
    list(GET region 1 language)
    list(GET region 2 separator)
    add_test(NAME Web.RegionalSeparator.${name}
             COMMAND ${run_suite} test_behaviour.html --lang ${language}
                     --query arg=--gtest_filter=*RegionalDecimalSeparator* --query ORVANTA_EXPECT_SEPARATOR=${separator})
endforeach()
foreach(screen "Desktop;1024x768" "Phone;360x740")
    list(GET screen 0 name)
    list(GET screen 1 size)
    add_test(NAME Web.WorkedExample.${name}
             COMMAND /usr/bin/python3 ${web_tests}/worked_example.py ${CMAKE_BINARY_DIR}/site ${size})
endforeach()
add_test(NAME Web.MessageBox COMMAND /usr/bin/python3 ${web_tests}/message_box.py ${CMAKE_BINARY_DIR}/site)
set_tests_properties(Web.Behaviour Web.Storm PROPERTIES TIMEOUT 900)
