# SPDX-License-Identifier: MIT
# The program for the web (an emscripten build against Qt for WebAssembly): `cmake --install`
# writes the static folder a web server serves as it is: our page (index.html, page.js, the
# manifest and the icons), Qt's loader (qtloader.js), the program (vorrel.js and vorrel.wasm), the
# service worker that keeps them for use offline, and the licences of what vorrel.wasm holds.
# Included from the top-level CMakeLists.txt after the program's target exists.

set(web ${PROJECT_SOURCE_DIR}/resources/web)
set(built ${CMAKE_CURRENT_BINARY_DIR}/web)
configure_file(${web}/index.html.in ${built}/index.html @ONLY)
configure_file(${web}/manifest.webmanifest.in ${built}/manifest.webmanifest @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/icons/hicolor/48x48/apps/vorrel.png ${built}/vorrel-48.png COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/icons/hicolor/256x256/apps/vorrel.png ${built}/vorrel-256.png COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/icons/vorrel.svg ${built}/vorrel.svg COPYONLY)
configure_file(${web}/page.js ${built}/page.js COPYONLY)

# What the service worker keeps, the page first; its cache is named by a hash of them all, made
# once vorrel.wasm is linked.
set(program_dir $<TARGET_FILE_DIR:vorrel>)
set(page_files index.html page.js manifest.webmanifest vorrel.svg vorrel-48.png vorrel-256.png)
set(program_files vorrel.js vorrel.wasm qtloader.js)
list(TRANSFORM page_files PREPEND ${built}/ OUTPUT_VARIABLE page_kept)
list(TRANSFORM program_files PREPEND ${program_dir}/ OUTPUT_VARIABLE program_kept)
set(kept ${page_kept} ${program_kept})
add_custom_command(OUTPUT ${built}/service-worker.js
    COMMAND ${CMAKE_COMMAND} -DIN=${web}/service-worker.js.in -DOUT=${built}/service-worker.js
            "-DFILES=${kept}" -P ${CMAKE_CURRENT_LIST_DIR}/VorrelWebServiceWorker.cmake
    DEPENDS vorrel ${page_kept} ${web}/service-worker.js.in ${CMAKE_CURRENT_LIST_DIR}/VorrelWebServiceWorker.cmake
    VERBATIM)
add_custom_target(vorrel_web_files ALL DEPENDS ${built}/service-worker.js)

install(FILES ${kept} ${built}/service-worker.js DESTINATION .)

# The licences: the program's, and those of the Qt and the face that vorrel.wasm carries, with a
# notice of where Qt's exact source is.
set(VORREL_QT_SOURCE_DIR "" CACHE PATH
    "Source of the Qt the web build links: debian-source-version.txt and LICENSES/")
set(VORREL_QT_VERSION ${Qt6_VERSION})
set(VORREL_QT_DEBIAN_SOURCE "qt6-base ${Qt6_VERSION}")
if(VORREL_QT_SOURCE_DIR)
    file(STRINGS "${VORREL_QT_SOURCE_DIR}/debian-source-version.txt" VORREL_QT_DEBIAN_SOURCE LIMIT_COUNT 1)
    install(DIRECTORY "${VORREL_QT_SOURCE_DIR}/LICENSES/" DESTINATION licenses/Qt)
    install(FILES "${VORREL_QT_SOURCE_DIR}/configure-options.txt" DESTINATION licenses/Qt)
endif()
string(REPLACE "qt6-base " "" VORREL_QT_DEBIAN_VERSION "${VORREL_QT_DEBIAN_SOURCE}")
configure_file(${web}/qt-notice.txt.in ${built}/README-Qt.txt @ONLY)
install(FILES ${built}/README-Qt.txt DESTINATION licenses/Qt RENAME README.txt)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION licenses RENAME vorrel-LICENSE.txt)
install(FILES ${VORREL_WEB_FONT_LICENCE} DESTINATION licenses RENAME LiberationSans-LICENSE.txt)
