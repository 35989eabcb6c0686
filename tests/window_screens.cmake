# SPDX-License-Identifier: GPL-3.0-or-later
# The window on screens smaller and larger than itself.

# Qt's offscreen platform draws a frame; its own screen, 800 x 800, is
# narrower than the window.
foreach(size 640x480 1280x1024)
    string(REPLACE "x" ";" dimensions ${size})
    list(GET dimensions 0 width)
    list(GET dimensions 1 height)
    set(config ${CMAKE_CURRENT_BINARY_DIR}/offscreen_${size}.json)
    file(WRITE ${config} "{\"screens\": [{\"name\": \"screen\", \"x\": 0, \"y\": 0, \"width\": ${width}, "
                         "\"height\": ${height}, \"logicalDpi\": 96}]}\n")
    add_test(NAME WindowScreen.Offscreen${size} COMMAND test_window --gtest_filter=WindowTest.FrameIsCentred*)
    set_tests_properties(WindowScreen.Offscreen${size} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${config}")
endforeach()
