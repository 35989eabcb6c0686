# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: cpack in the build folder. scripts/build-package.sh
# builds it with Debian's compiler and linker flags.
include(GNUInstallDirs)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanta)
set(CPACK_PACKAGE_VENDOR Vintoral)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lens calculator for video-surveillance cameras")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_LIST_DIR}/description.txt)
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.vintoral.com.br/orvanta/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The first packaging of upstream version 1.0; packaging/changelog names it.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orvanta <orvanta@users.noreply.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# dpkg-shlibdeps finds the linked libraries. It cannot see what is loaded
# while running: Qt's platform plugins (X11 and others), which Qt's own
# packages only recommend, so that without them no window opens; the
# report's fixed-pitch face; and the CUPS client, which the program opens
# with dlopen when the first print starts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, libcups2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n, cups")
# A PDF printer for those without a printer.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS printer-driver-cups-pdf)
# Debian's permissions whatever the packager's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)

# orvanta_compressed(OUTPUT SOURCE): makes OUTPUT (NAME.gz) in the current
# build folder from SOURCE, compressed as Debian wants it: gzip -9 without a
# name or timestamp inside.
find_program(GZIP gzip REQUIRED)
function(orvanta_compressed output source)
    get_filename_component(name ${output} NAME_WLE)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${name}
        COMMAND ${GZIP} -9nf ${name}
        DEPENDS ${source}
        COMMENT "Compressing ${name}")
endfunction()

# The package's documents.
set(package_docs ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
orvanta_compressed(changelog.Debian.gz ${CMAKE_CURRENT_LIST_DIR}/changelog)
add_custom_target(package_changelog ALL DEPENDS changelog.Debian.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
        DESTINATION ${package_docs})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${CPACK_PACKAGE_NAME})
