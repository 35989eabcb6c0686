# SPDX-License-Identifier: GPL-3.0-or-later
# The program on the desktop: its window on Wayland (on X11, with its class,
# the package's test starts it as the desktop entry does), why it cannot
# start when it cannot, and the toolkit's own texts in Portuguese. Each
# script starts and stops its own private compositor or X server.
# The Wayland window's screenshot is kept as wayland_window.png.
add_test(NAME Desktop.WaylandWindow COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/wayland_window.sh $<TARGET_FILE:orvanta>
                                            ${CMAKE_CURRENT_BINARY_DIR}/wayland_window.png)
add_test(NAME Desktop.StartFailureSaysWhyInOneLine
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/start_failure.sh $<TARGET_FILE:orvanta>)
set_tests_properties(Desktop.WaylandWindow Desktop.StartFailureSaysWhyInOneLine PROPERTIES TIMEOUT 120)

# Under the plain C locale and an American one.
add_executable(test_translations test_translations.cpp)
target_link_libraries(test_translations PRIVATE window qt_test_main)
orvanta_strict(test_translations)
foreach(locale C en_US.UTF-8)
    add_test(NAME ToolkitTranslations.${locale} COMMAND test_translations)
    set_tests_properties(ToolkitTranslations.${locale} PROPERTIES
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=${locale};LANGUAGE=")
endforeach()
