# SPDX-License-Identifier: GPL-3.0-or-later
# What makes the site installable and usable offline, written into
# ${site_dir} beside the page (target web_site_files, built with web_site):
#   manifest.webmanifest   the web app manifest
#   icon-192.png           the program's icon, for the browser and the home screen
#   icon-512.png           the same icon as a maskable one, for launchers that
#                          cut icons to a shape of their own
#   sw.js                  the service worker that keeps every file of the site
#   offline.js             registers sw.js
# Included from app/web/CMakeLists.txt once it has set site_dir.
find_program(ORVANTA_RSVG_CONVERT rsvg-convert REQUIRED)
set(_site_icon ${PROJECT_SOURCE_DIR}/app/br.com.vintoral.orvanta.svg)

# Every file of the site, which the service worker stores on the first
# visit; "./" is the address the page is opened by. sw.js itself is kept by
# the browser.
set(ORVANTA_SITE_FILES ./ index.html orvanta.css orvanta.js orvanta.wasm manifest.webmanifest icon-192.png
                       icon-512.png offline.js)
list(TRANSFORM ORVANTA_SITE_FILES REPLACE "(.+)" "\"\\1\"" OUTPUT_VARIABLE _site_quoted)
list(JOIN _site_quoted ", " ORVANTA_SITE_FILE_LIST)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/sw.js.in ${site_dir}/sw.js @ONLY)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/manifest.webmanifest ${site_dir}/manifest.webmanifest COPYONLY)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/offline.js ${site_dir}/offline.js COPYONLY)

# A maskable icon is cut to a circle, a rounded square or another shape:
# only the central circle of 80 % of its width is sure to be seen. The lens,
# a circle of 97 % of the drawing, is drawn 410 pixels wide on a white
# 512-pixel square, which keeps all of it inside that circle.
add_custom_command(OUTPUT ${site_dir}/icon-192.png
                   COMMAND ${ORVANTA_RSVG_CONVERT} -w 192 -h 192 -o ${site_dir}/icon-192.png ${_site_icon}
                   DEPENDS ${_site_icon}
                   COMMENT "Drawing the site's icon" VERBATIM)
add_custom_command(OUTPUT ${site_dir}/icon-512.png
                   COMMAND ${ORVANTA_RSVG_CONVERT} -w 410 -h 410 --page-width 512 --page-height 512 --left 51 --top 51
                           --background-color white -o ${site_dir}/icon-512.png ${_site_icon}
                   DEPENDS ${_site_icon}
                   COMMENT "Drawing the site's maskable icon" VERBATIM)
add_custom_target(web_site_files DEPENDS ${site_dir}/icon-192.png ${site_dir}/icon-512.png)
add_dependencies(web_site web_site_files)
