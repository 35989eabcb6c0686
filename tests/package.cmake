# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built as a packager builds it (Debian's flags, no
# tests) in a folder of its own, then checked by Debian's and the desktop's
# own checkers.
set(package_build ${CMAKE_BINARY_DIR}/package)
add_test(NAME Package.Build COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/build-package.sh ${package_build})
set_tests_properties(Package.Build PROPERTIES FIXTURES_SETUP debian_package TIMEOUT 1800)

add_test(NAME Package.InstallsIntoAThrowawayRoot
         COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-package.sh ${package_build})
# No error or warning from lintian; an override in the package says why one
# tag does not apply.
add_test(NAME Package.Lintian
         COMMAND bash -c [[lintian --fail-on error,warning --display-info "$1"/orvanta_*.deb]] lintian ${package_build})
set_tests_properties(Package.InstallsIntoAThrowawayRoot Package.Lintian PROPERTIES
    FIXTURES_REQUIRED debian_package TIMEOUT 300)
# lintian leaves scratch files in its temporary folder: keep them in the build.
set_tests_properties(Package.Lintian PROPERTIES ENVIRONMENT TMPDIR=${package_build})

# The sources of the desktop entry and the metainfo, without a package.
add_test(NAME Package.DesktopEntryIsValid
         COMMAND bash -c [=[output=$(desktop-file-validate "$1") && echo "$output" && [ -z "$output" ]]=]
                 desktop-file-validate ${PROJECT_SOURCE_DIR}/app/br.com.vintoral.orvanta.desktop)
# Without the network: the homepage and screenshot addresses are not fetched.
add_test(NAME Package.MetainfoIsValid
         COMMAND bash -c [[output=$(appstreamcli validate --no-net --pedantic "$1") && echo "$output" &&
                           ! grep -q '^[EWIP]:' <<<"$output"]]
                 appstreamcli ${PROJECT_SOURCE_DIR}/app/br.com.vintoral.orvanta.metainfo.xml)
