# SPDX-License-Identifier: GPL-3.0-or-later
# The program on the desktop: the toolkit's own texts in Portuguese.

# Under the plain C locale and an American one.
add_executable(test_translations test_translations.cpp)
target_link_libraries(test_translations PRIVATE window qt_test_main)
orvanta_strict(test_translations)
foreach(locale C en_US.UTF-8)
    add_test(NAME ToolkitTranslations.${locale} COMMAND test_translations)
    set_tests_properties(ToolkitTranslations.${locale} PROPERTIES
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=${locale};LANGUAGE=")
endforeach()
