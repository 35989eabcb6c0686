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
# windres finds the icon and the manifest by the include path.
set_source_files_properties(win32/orvanta.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_CURRENT_BINARY_DIR}/orvanta.ico;${CMAKE_CURRENT_SOURCE_DIR}/win32/orvanta.manifest")

add_executable(orvanta WIN32 win32/main.cpp win32/orvanta.rc)
target_include_directories(orvanta PRIVATE ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/win32)
# A release carries no symbols.
target_link_options(orvanta PRIVATE -municode $<$<CONFIG:Release>:-s>)
target_link_libraries(orvanta PRIVATE window report_gdi)
orvanta_strict(orvanta)
include(${PROJECT_SOURCE_DIR}/packaging/windows/release.cmake)
