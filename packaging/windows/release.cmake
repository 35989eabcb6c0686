# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows release files, target windows_release (not part of the default
# build), in the top build folder:
#   Orvanta-<version>-win64-setup.exe  the installer (NSIS, orvanta.nsi)
#   Orvanta-<version>-win64.zip        the portable program: orvanta.exe,
#                                      LICENSE.txt and LEIA-ME.txt
# Both ship the same stripped copy of orvanta.exe, staged with the texts in
# <build>/windows-release. Included from app/win32/win32.cmake, next to the
# program's icon, which the installer wears too.
# The release files are the same bytes wherever and whenever they are built
# from the same commit: every time stamp in them (the PE headers of
# orvanta.exe and of the installer, the files' times in the installer and
# the zip) is the last commit's time: SOURCE_DATE_EPOCH, as Debian's
# reproducible builds set it (release.sh does), else the time git gives when
# the build folder is configured.
find_program(ORVANTA_MAKENSIS makensis REQUIRED)
find_program(ORVANTA_MINGW_STRIP x86_64-w64-mingw32-strip REQUIRED)
find_program(ORVANTA_ZIP zip REQUIRED)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ORVANTA_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE ORVANTA_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT ORVANTA_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(WARNING "Not a git checkout and no SOURCE_DATE_EPOCH: the release files carry today's time")
    string(TIMESTAMP ORVANTA_SOURCE_DATE_EPOCH "%s" UTC)
endif()

set(ORVANTA_RELEASE_STAGE ${CMAKE_BINARY_DIR}/windows-release)
set(ORVANTA_RELEASE_NAME ${CMAKE_BINARY_DIR}/Orvanta-${PROJECT_VERSION}-win64)
set(_release_sources ${PROJECT_SOURCE_DIR}/packaging/windows)
set(_release_files orvanta.exe LICENSE.txt LEIA-ME.txt)

# The texts with Windows' line ends, for Notepad and the licence page.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${ORVANTA_RELEASE_STAGE}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${_release_sources}/LEIA-ME.txt ${ORVANTA_RELEASE_STAGE}/LEIA-ME.txt @ONLY NEWLINE_STYLE CRLF)

# Symbols are of no use to the user: the shipped copy goes without them.
# strip writes the PE time stamp again, from SOURCE_DATE_EPOCH. The staged
# files get the commit's time and fixed modes, whatever the umask; the stamp,
# with the time it was made, tells make when they changed.
set(_stage_stamp ${CMAKE_CURRENT_BINARY_DIR}/windows-release.stamp)
add_custom_command(
    OUTPUT ${_stage_stamp}
    BYPRODUCTS ${ORVANTA_RELEASE_STAGE}/orvanta.exe
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${ORVANTA_SOURCE_DATE_EPOCH}
            ${ORVANTA_MINGW_STRIP} --strip-all -o orvanta.exe $<TARGET_FILE:orvanta>
    COMMAND chmod 0755 orvanta.exe
    COMMAND chmod 0644 LICENSE.txt LEIA-ME.txt
    COMMAND touch --no-dereference --date=@${ORVANTA_SOURCE_DATE_EPOCH} ${_release_files}
    COMMAND ${CMAKE_COMMAND} -E touch ${_stage_stamp}
    WORKING_DIRECTORY ${ORVANTA_RELEASE_STAGE}
    DEPENDS orvanta ${ORVANTA_RELEASE_STAGE}/LICENSE.txt ${ORVANTA_RELEASE_STAGE}/LEIA-ME.txt
    COMMENT "Staging the released orvanta.exe")

string(REPLACE "," "." _version_numbers "${ORVANTA_VERSION_NUMBERS}")
add_custom_command(
    OUTPUT ${ORVANTA_RELEASE_NAME}-setup.exe
    COMMAND ${ORVANTA_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
            -DVERSION_NUMBERS=${_version_numbers} -DSOURCE_DATE_EPOCH=${ORVANTA_SOURCE_DATE_EPOCH}
            -DSTAGE=${ORVANTA_RELEASE_STAGE}
            -DICON=${CMAKE_CURRENT_BINARY_DIR}/orvanta.ico -DOUTFILE=${ORVANTA_RELEASE_NAME}-setup.exe
            ${_release_sources}/orvanta.nsi
    DEPENDS ${_release_sources}/orvanta.nsi ${_release_sources}/pe_time_stamp.py ${_stage_stamp} ${CMAKE_CURRENT_BINARY_DIR}/orvanta.ico
    COMMENT "Building the installer Orvanta-${PROJECT_VERSION}-win64-setup.exe")

# The files at the zip's top ("Extract all" makes the folder), in a fixed
# order, without owners or extra time fields (-X); the times are written in
# UTC, since a zip's times are local.
add_custom_command(
    OUTPUT ${ORVANTA_RELEASE_NAME}.zip
    COMMAND ${CMAKE_COMMAND} -E rm -f ${ORVANTA_RELEASE_NAME}.zip
    COMMAND ${CMAKE_COMMAND} -E env TZ=UTC0 ${ORVANTA_ZIP} -q -X -D ${ORVANTA_RELEASE_NAME}.zip ${_release_files}
    WORKING_DIRECTORY ${ORVANTA_RELEASE_STAGE}
    DEPENDS ${_stage_stamp}
    COMMENT "Packing the portable Orvanta-${PROJECT_VERSION}-win64.zip")

add_custom_target(windows_release DEPENDS ${ORVANTA_RELEASE_NAME}-setup.exe ${ORVANTA_RELEASE_NAME}.zip)
