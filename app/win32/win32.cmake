# SPDX-License-Identifier: GPL-3.0-or-later
# orvanta.exe: a Windows program (no console), with its icon, version and
# manifest as resources.

# The icon, in the sizes Windows shows.
find_program(MAGICK_CONVERT convert REQUIRED)
set(icon_images ${PROJECT_SOURCE_DIR}/window/qt/icon16.xpm ${PROJECT_SOURCE_DIR}/window/qt/icon32.xpm)
orvanta_drawn_icons(icon_images 48 256)
add_custom_command(
    OUTPUT orvanta.ico
    COMMAND ${MAGICK_CONVERT} ${icon_images} orvanta.ico
    DEPENDS ${icon_images}
    COMMENT "Writing the program's icon")
# The version resource's numbers and text, from the project's version: four
# numbers, the missing ones 0.
set(ORVANTA_VERSION_NUMBERS ${PROJECT_VERSION_MAJOR})
foreach(part MINOR PATCH TWEAK)
    if(PROJECT_VERSION_${part} STREQUAL "")
        string(APPEND ORVANTA_VERSION_NUMBERS ",0")
    else()
        string(APPEND ORVANTA_VERSION_NUMBERS ",${PROJECT_VERSION_${part}}")
    endif()
endforeach()
file(CONFIGURE OUTPUT orvanta_version.h CONTENT [[
#define ORVANTA_VERSION_NUMBERS @ORVANTA_VERSION_NUMBERS@
#define ORVANTA_VERSION_TEXT "@PROJECT_VERSION@"
]] @ONLY)
# windres finds the icon, the manifest and the version by the include path.
set_source_files_properties(win32/orvanta.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_CURRENT_BINARY_DIR}/orvanta.ico;${CMAKE_CURRENT_SOURCE_DIR}/win32/orvanta.manifest;${CMAKE_CURRENT_BINARY_DIR}/orvanta_version.h")

add_executable(orvanta WIN32 win32/main.cpp win32/orvanta.rc)
target_include_directories(orvanta PRIVATE ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/win32)
# A release carries no symbols.
target_link_options(orvanta PRIVATE -municode $<$<CONFIG:Release>:-s>)
target_link_libraries(orvanta PRIVATE window report_gdi)
orvanta_strict(orvanta)
include(${PROJECT_SOURCE_DIR}/packaging/windows/release.cmake)
