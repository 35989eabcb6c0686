# SPDX-License-Identifier: GPL-3.0-or-later
# The window on private X servers (tests/x11_session.sh) with screens
# smaller and larger than itself, with and without a window manager, with
# real keyboard and mouse input through xdotool.

add_executable(test_window_x11 test_window_x11.cpp)
target_link_libraries(test_window_x11 PRIVATE window qt_test_main Qt6::Test)
orvanta_strict(test_window_x11)

# orvanta_x11_test(NAME GTEST-FILTER SESSION-OPTIONS...)
function(orvanta_x11_test name filter)
    add_test(NAME ${name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/x11_session.sh ${ARGN}
                                  -- $<TARGET_FILE:test_window_x11> --gtest_filter=${filter})
    # The compose table of dead keys follows the locale.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT LC_ALL=C.UTF-8 TIMEOUT 300)
endfunction()
orvanta_x11_test(WindowX11.OpenboxBrazilianKeyboard "*" --openbox --layout br)
orvanta_x11_test(WindowX11.OpenboxSmallScreen "*FrameIsCentred*" --openbox --screen 640x480)
orvanta_x11_test(WindowX11.SmallScreen "*FrameIsCentred*" --screen 640x480)
orvanta_x11_test(WindowX11.NoWindowManager "*FrameIsCentred*")
