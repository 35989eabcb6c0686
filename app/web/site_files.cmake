# SPDX-License-Identifier: GPL-3.0-or-later
# What makes the site installable and usable offline, written into
# ${site_dir} beside the page (target web_site_files, built with web_site):
#   manifest.webmanifest   the web app manifest
#   icon-192.png           the program's icon, for the browser and the home screen
#   icon-512.png           the same icon as a maskable one, for launchers that
#                          cut icons to a shape of their own
#   sw.js                  the service worker that keeps every file of the site
# Included from app/web/CMakeLists.txt once it has set site_dir.
find_program(ORVANTA_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ORVANTA_IMAGEMAGICK_CONVERT convert REQUIRED)
set(_site_icon ${PROJECT_SOURCE_DIR}/app/br.com.vintoral.orvanta.svg)

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/manifest.webmanifest ${site_dir}/manifest.webmanifest COPYONLY)

# Each icon: its size, the drawing's size and margin in it, its background.
# A maskable icon is cut to a circle, a rounded square or another shape:
# only the central circle of 80 % of its width is sure to be seen. The lens,
# a circle of 97 % of the drawing, is drawn 410 pixels wide on a white
# 512-pixel square, which keeps all of it inside that circle. 64 colours
# without dithering keep the glass's gradient smooth enough in a fifth of
# the bytes (-quality 95: zlib's best compression with adaptive filters);
# -strip leaves out the conversion's time.
foreach(_site_icon_row "192;192;0;transparent" "512;410;51;white")
    list(GET _site_icon_row 0 _size)
    list(GET _site_icon_row 1 _drawn)
    list(GET _site_icon_row 2 _margin)
    list(GET _site_icon_row 3 _background)
    add_custom_command(OUTPUT ${site_dir}/icon-${_size}.png
                       COMMAND ${ORVANTA_RSVG_CONVERT} -w ${_drawn} -h ${_drawn} --page-width ${_size}
                               --page-height ${_size} --left ${_margin} --top ${_margin}
                               --background-color ${_background} -o icon-${_size}-drawn.png ${_site_icon}
                       COMMAND ${ORVANTA_IMAGEMAGICK_CONVERT} icon-${_size}-drawn.png -strip +dither -colors 64
                               -quality 95 PNG8:${site_dir}/icon-${_size}.png
                       DEPENDS ${_site_icon}
                       COMMENT "Drawing the site's icon of ${_size} pixels" VERBATIM)
endforeach()

# Every file of the site but sw.js, which the browser keeps itself: what the
# service worker stores on the first visit. Written after them all: its
# cache's name tells them apart.
set(_site_files index.html orvanta.css orvanta.js manifest.webmanifest icon-192.png icon-512.png)
# orvanta.js comes with the target orvanta.
set(_site_made ${_site_files})
list(REMOVE_ITEM _site_made orvanta.js)
list(TRANSFORM _site_made PREPEND ${site_dir}/)
list(JOIN _site_files "," _site_names)
add_custom_command(OUTPUT ${site_dir}/sw.js
                   COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${CMAKE_CURRENT_SOURCE_DIR}/sw.js.in -DOUTPUT=${site_dir}/sw.js
                           -DSITE=${site_dir} -DVERSION=${PROJECT_VERSION} -DFILES=${_site_names}
                           -P ${CMAKE_CURRENT_SOURCE_DIR}/sw.js.cmake
                   DEPENDS orvanta ${_site_made} ${CMAKE_CURRENT_SOURCE_DIR}/sw.js.in
                           ${CMAKE_CURRENT_SOURCE_DIR}/sw.js.cmake
                   COMMENT "Writing the site's service worker" VERBATIM)
add_custom_target(web_site_files DEPENDS ${site_dir}/sw.js)
add_dependencies(web_site web_site_files)
