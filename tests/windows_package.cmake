# SPDX-License-Identifier: GPL-3.0-or-later
# The release files (packaging/windows), out of the default build, come from
# a fixture: the installer under Wine; the resources and the zip by pefile.
add_test(NAME Windows.ReleaseFiles COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target windows_release)
set_tests_properties(Windows.ReleaseFiles PROPERTIES FIXTURES_SETUP windows_release TIMEOUT 300)
set(_release ${CMAKE_BINARY_DIR}/Orvanta-${PROJECT_VERSION}-win64)
add_executable(quiet_uninstall quiet_uninstall.cpp)
orvanta_strict(quiet_uninstall)
orvanta_wine_test(NAME Windows.Installer GUI FRESH_PREFIX TIMEOUT 300
                  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows_installer.sh ${_release}-setup.exe
                          ${CMAKE_BINARY_DIR}/windows-release/orvanta.exe ${PROJECT_VERSION}
                          $<TARGET_FILE:quiet_uninstall>)
add_test(NAME Windows.Resources COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/windows_resources.py
                                        $<TARGET_FILE:orvanta> ${_release}.zip ${PROJECT_VERSION})
set_property(TEST Windows.Installer Windows.Resources APPEND PROPERTY FIXTURES_REQUIRED windows_release)
