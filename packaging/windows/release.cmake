# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows release files, target windows_release (not part of the default
# build), in the top build folder:
#   Orvanta-<version>-win64-setup.exe  the installer (NSIS, orvanta.nsi)
#   Orvanta-<version>-win64.zip        the portable program: orvanta.exe,
#                                      LICENSE.txt and LEIA-ME.txt
# Both ship the same stripped copy of orvanta.exe, staged with the texts in
# <build>/windows-release. Included from app/win32/win32.cmake, next to the
# program's icon, which the installer wears too.
find_program(ORVANTA_MAKENSIS makensis REQUIRED)
find_program(ORVANTA_MINGW_STRIP x86_64-w64-mingw32-strip REQUIRED)

set(ORVANTA_RELEASE_STAGE ${CMAKE_BINARY_DIR}/windows-release)
set(ORVANTA_RELEASE_NAME ${CMAKE_BINARY_DIR}/Orvanta-${PROJECT_VERSION}-win64)
set(_release_sources ${PROJECT_SOURCE_DIR}/packaging/windows)

# The texts with Windows' line ends, for Notepad and the licence page.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${ORVANTA_RELEASE_STAGE}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${_release_sources}/LEIA-ME.txt ${ORVANTA_RELEASE_STAGE}/LEIA-ME.txt @ONLY NEWLINE_STYLE CRLF)

# Symbols are of no use to the user: the shipped copy goes without them.
add_custom_command(
    OUTPUT ${ORVANTA_RELEASE_STAGE}/orvanta.exe
    COMMAND ${ORVANTA_MINGW_STRIP} --strip-all -o ${ORVANTA_RELEASE_STAGE}/orvanta.exe $<TARGET_FILE:orvanta>
    DEPENDS orvanta
    COMMENT "Stripping the released orvanta.exe")

add_custom_command(
    OUTPUT ${ORVANTA_RELEASE_NAME}-setup.exe
    COMMAND ${ORVANTA_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
            -DSTAGE=${ORVANTA_RELEASE_STAGE} -DICON=${CMAKE_CURRENT_BINARY_DIR}/orvanta.ico
            -DOUTFILE=${ORVANTA_RELEASE_NAME}-setup.exe ${_release_sources}/orvanta.nsi
    DEPENDS ${_release_sources}/orvanta.nsi ${ORVANTA_RELEASE_STAGE}/orvanta.exe
            ${ORVANTA_RELEASE_STAGE}/LICENSE.txt ${CMAKE_CURRENT_BINARY_DIR}/orvanta.ico
    COMMENT "Building the installer Orvanta-${PROJECT_VERSION}-win64-setup.exe")

# The files at the zip's top: "Extract all" makes the folder.
add_custom_command(
    OUTPUT ${ORVANTA_RELEASE_NAME}.zip
    COMMAND ${CMAKE_COMMAND} -E rm -f ${ORVANTA_RELEASE_NAME}.zip
    COMMAND ${CMAKE_COMMAND} -E tar cf ${ORVANTA_RELEASE_NAME}.zip --format=zip
            orvanta.exe LICENSE.txt LEIA-ME.txt
    WORKING_DIRECTORY ${ORVANTA_RELEASE_STAGE}
    DEPENDS ${ORVANTA_RELEASE_STAGE}/orvanta.exe ${ORVANTA_RELEASE_STAGE}/LICENSE.txt
            ${ORVANTA_RELEASE_STAGE}/LEIA-ME.txt
    COMMENT "Packing the portable Orvanta-${PROJECT_VERSION}-win64.zip")

add_custom_target(windows_release DEPENDS ${ORVANTA_RELEASE_NAME}-setup.exe ${ORVANTA_RELEASE_NAME}.zip)
