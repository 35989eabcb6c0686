# SPDX-License-Identifier: GPL-3.0-or-later
# The Win32 window under Wine: the behaviour suite and the storm of user
# actions that the Qt window passes too, through the Win32 driver, on the
# tree's private X server; the regional decimal separator as Windows'
# regional settings give it; and orvanta.exe end to end with real X input,
# printing on a private spooler.
add_executable(test_behaviour test_behaviour.cpp window_driver.h driver_win32.cpp)
target_link_libraries(test_behaviour PRIVATE window gtest)
orvanta_strict(test_behaviour)
orvanta_wine_test(NAME test_behaviour GUI COMMAND test_behaviour --gtest_filter=-*RegionalDecimalSeparator*)

# The seeded storm of user actions, at counts that fit Wine's speed.
add_executable(test_storm test_storm.cpp window_driver.h driver_win32.cpp)
target_link_libraries(test_storm PRIVATE window gtest)
orvanta_strict(test_storm)
orvanta_wine_test(NAME Storm.SeededActionSequences GUI TIMEOUT 300 COMMAND test_storm
                  ENVIRONMENT ORVANTA_STORM_SEQUENCES=20 ORVANTA_STORM_ACTIONS=40)

foreach(region "Comma;," "FullStop;.")
    list(GET region 0 name)
    list(GET region 1 separator)
    orvanta_wine_test(NAME RegionalSeparator.Windows${name} GUI FRESH_PREFIX
                      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/wine/with_setting.sh "HKCU\\Control Panel\\International"
                              sDecimal REG_SZ ${separator}
                              $<TARGET_FILE:test_behaviour> --gtest_filter=*RegionalDecimalSeparator*
                      ENVIRONMENT ORVANTA_EXPECT_SEPARATOR=${separator})
endforeach()

# A winspool.drv planted beside orvanta.exe, which the end-to-end run copies
# into a folder of its own, with Wine told to prefer it to its own. Built in
# a folder of its own too: beside the test programs, it would be theirs.
add_library(planted_winspool MODULE wine/planted_library.cpp)
set_target_properties(planted_winspool PROPERTIES PREFIX "" OUTPUT_NAME winspool SUFFIX .drv
                                                  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/planted)
# Nothing but system DLLs to load: a missing one would keep it from running.
target_link_options(planted_winspool PRIVATE -static)
orvanta_strict(planted_winspool)
orvanta_wine_test(NAME Windows.EndToEnd CUPS TIMEOUT 300
                  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows_e2e.sh $<TARGET_FILE:orvanta>
                          $<TARGET_FILE:planted_winspool>)

# The window's layout at 96 dots per inch and, with Wine's LogPixels
# setting, at 120, 144 and 192 (125, 150 and 200 %).
add_executable(test_win32_window test_win32_window.cpp test_win32_window.rc)
target_include_directories(test_win32_window PRIVATE ${PROJECT_SOURCE_DIR}/app/win32)
target_link_libraries(test_win32_window PRIVATE window gtest_main imm32)
orvanta_strict(test_win32_window)
orvanta_wine_test(NAME Win32Window.At96Dpi GUI COMMAND test_win32_window)
foreach(dpi 120 144 192)
    orvanta_wine_test(NAME Win32Window.At${dpi}Dpi GUI FRESH_PREFIX ENVIRONMENT ORVANTA_EXPECT_DPI=${dpi}
                      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/wine/with_setting.sh "HKCU\\Control Panel\\Desktop"
                              LogPixels REG_DWORD ${dpi} $<TARGET_FILE:test_win32_window>)
endforeach()
