# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the service worker OUTPUT from TEMPLATE (sw.js.in) for the files
# FILES (separated by commas) of the site in SITE. Its cache is named after
# the release, VERSION, and a digest of those files: whatever changes in the
# site, even between two builds of one version, makes a new sw.js, which
# the browser installs in place of the copy it kept.
# Usage: cmake -DTEMPLATE=... -DOUTPUT=... -DSITE=... -DVERSION=... -DFILES=a,b -P sw.js.cmake
string(REPLACE "," ";" files "${FILES}")
set(listing "")
foreach(file IN LISTS files)
    file(SHA256 ${SITE}/${file} digest)
    string(APPEND listing "${file} ${digest}\n")
endforeach()
string(SHA256 digest "${listing}")
string(SUBSTRING ${digest} 0 12 digest)
set(ORVANTA_CACHE_NAME "orvanta-${VERSION}-${digest}")
# "./" is the address the page is opened by.
list(PREPEND files ./)
list(TRANSFORM files REPLACE "(.+)" "\"\\1\"")
list(JOIN files ", " ORVANTA_SITE_FILE_LIST)
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
