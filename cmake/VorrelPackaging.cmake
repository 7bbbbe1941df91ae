# SPDX-License-Identifier: MIT
# Installing and packaging on Windows and macOS; the Debian package is set up in the top-level
# CMakeLists.txt. Included there after the program's target exists and before include(CPack).
#
#   Windows: `cmake --install` puts vorrel.exe (carrying its icon and version record) at the top
#   of the folder with the Qt libraries and plugins beside it, its licence and Qt's; `cpack`
#   writes a ZIP of that tree and, where NSIS's makensis is installed, an installer.
#   macOS:   vorrel.app with its Info.plist and icon, the Qt frameworks and plugins copied into
#   the bundle at install time; `cpack` writes a drag-and-drop disk image.
#
# On Windows the install rules copy Qt themselves (vorrel_deploy_qt_windows), the same in a native
# and in a cross build; on macOS qt_generate_deploy_app_script does (Qt 6.3 and later), or
# macdeployqt run at install time (Qt 6.2).

if(NOT WIN32 AND NOT APPLE)
    return()
endif()

# vorrel_deploy_qt(): installs the Qt libraries and plugins that the program needs beside it.
function(vorrel_deploy_qt)
    if(WIN32)
        vorrel_deploy_qt_windows()
        return()
    endif()
    if(COMMAND qt_generate_deploy_app_script)
        if(Qt6_VERSION VERSION_GREATER_EQUAL 6.5)
            qt_generate_deploy_app_script(TARGET vorrel OUTPUT_SCRIPT deploy_script NO_TRANSLATIONS)
        else()
            qt_generate_deploy_app_script(TARGET vorrel FILENAME_VARIABLE deploy_script)
        endif()
        install(SCRIPT ${deploy_script})
        return()
    endif()

    # Qt 6.2: macdeployqt from Qt's own bin folder.
    set(hints "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" "${Qt6_DIR}/../../../bin")
    find_program(VORREL_DEPLOY_QT macdeployqt HINTS ${hints} NO_DEFAULT_PATH)
    find_program(VORREL_DEPLOY_QT macdeployqt)
    if(NOT VORREL_DEPLOY_QT)
        message(WARNING "macdeployqt not found next to Qt: `cmake --install` will not copy Qt "
                        "into the bundle")
        return()
    endif()
    install(CODE "
        set(deployed \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/$<TARGET_FILE_NAME:vorrel>.app\")
        message(STATUS \"Deploying Qt: ${VORREL_DEPLOY_QT} \${deployed}\")
        execute_process(COMMAND \"${VORREL_DEPLOY_QT}\" \"\${deployed}\" RESULT_VARIABLE result)
        if(result)
            message(FATAL_ERROR \"macdeployqt failed: \${result}\")
        endif()")
endfunction()

# vorrel_deploy_qt_windows(): the same on Windows, natively or cross-built, without Qt's deploy
# tool (which runs only on Windows and cannot read a Windows program elsewhere). The plugins the
# program loads are named: the Windows platform and the styles; the DLLs come from what the
# program and the plugins import, found in Qt's and the compiler's runtime folders; the system's
# own DLLs stay where they are. Qt's and the compiler's DLLs are stripped of debugging sections.
function(vorrel_deploy_qt_windows)
    set(search "$<TARGET_FILE_DIR:Qt6::Core>")
    if(MINGW)
        # The compiler's runtime DLLs are copied into the build tree, so that the downloads can be
        # packaged on another machine than the one with the compiler.
        set(runtime "${PROJECT_BINARY_DIR}/mingw-runtime")
        foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
            execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                            OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
            if(EXISTS "${found}")
                file(COPY "${found}" DESTINATION "${runtime}")
            endif()
        endforeach()
        list(APPEND search "${runtime}")
    endif()
    set(platform "")
    if(MSVC)
        # dumpbin, beside the compiler, reads the imports; no build environment puts it on PATH.
        cmake_path(GET CMAKE_CXX_COMPILER PARENT_PATH compiler_folder)
        set(platform "set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL dumpbin)
            set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND \"${compiler_folder}/dumpbin.exe\")")
        set(strip "")
    elseif(CMAKE_HOST_SYSTEM_NAME STREQUAL "Windows")
        set(strip "${CMAKE_STRIP}")
    else()
        # objdump reads a Windows program's imports on any host.
        set(platform "set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
            set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
            set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND \"${CMAKE_OBJDUMP}\")")
        set(strip "${CMAKE_STRIP}")
    endif()
    install(CODE "
        ${platform}
        set(VORREL_DEPLOY_PROGRAM \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:vorrel>\")
        set(VORREL_DEPLOY_PLUGINS \"${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}\")
        set(VORREL_DEPLOY_SEARCH \"${search}\")
        set(VORREL_DEPLOY_STRIP \"${strip}\")")
    install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/VorrelDeployWindows.cmake)
endfunction()

# vorrel_qt_licence(): Qt's licences in licenses/Qt/, with a notice of the Qt libraries the
# download holds and where the exact source of that Qt is. A Qt built from Debian's source gives
# its source folder (VORREL_QT_SOURCE_DIR, see scripts/lib/qt_windows.sh); cpack then puts that
# source beside the downloads.
set(VORREL_QT_SOURCE_DIR "" CACHE PATH
    "Source of the Qt the Windows downloads carry: debian-source-version.txt, LICENSES/ and the source package")
function(vorrel_qt_licence)
    set(VORREL_QT_VERSION ${Qt6_VERSION})
    set(VORREL_QT_SOURCE_FOLDER "vorrel-${PROJECT_VERSION}-win64-qt-source")
    if(VORREL_QT_SOURCE_DIR)
        file(STRINGS "${VORREL_QT_SOURCE_DIR}/debian-source-version.txt" VORREL_QT_DEBIAN_SOURCE
             LIMIT_COUNT 1)
        string(REPLACE "qt6-base " "" debian_version "${VORREL_QT_DEBIAN_SOURCE}")
        string(CONCAT VORREL_QT_SOURCE_NOTICE
            "They were built with MinGW-w64 from Debian's source package ${VORREL_QT_DEBIAN_SOURCE}.\n"
            "That exact source is distributed together with this download, in the folder\n"
            "${VORREL_QT_SOURCE_FOLDER}: Debian's package (the .dsc, .orig.tar and .debian.tar\n"
            "files), the few files added to it for this build (windows-additions.tar.xz) and the\n"
            "options it was configured with. Debian keeps the same package at\n"
            "https://snapshot.debian.org/package/qt6-base/${debian_version}/.\n")
        install(DIRECTORY "${VORREL_QT_SOURCE_DIR}/LICENSES/" DESTINATION licenses/Qt)
        file(GLOB source_files "${VORREL_QT_SOURCE_DIR}/*.dsc" "${VORREL_QT_SOURCE_DIR}/*.tar.*"
                               "${VORREL_QT_SOURCE_DIR}/*.txt")
        set(CPACK_VORREL_QT_SOURCE_FILES "${source_files}" PARENT_SCOPE)
        set(CPACK_VORREL_QT_SOURCE_FOLDER "${VORREL_QT_SOURCE_FOLDER}" PARENT_SCOPE)
        set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/VorrelQtSource.cmake" PARENT_SCOPE)
    else()
        string(CONCAT VORREL_QT_SOURCE_NOTICE
            "They are The Qt Company's own build of Qt ${Qt6_VERSION}, whose source is at\n"
            "https://download.qt.io/archive/qt/${Qt6_VERSION_MAJOR}.${Qt6_VERSION_MINOR}/${Qt6_VERSION}/submodules/.\n")
        set(licences "")
        foreach(folder "${QT6_INSTALL_PREFIX}/../../Licenses" "${QT6_INSTALL_PREFIX}/Licenses")
            if(EXISTS "${folder}" AND NOT licences)
                set(licences "${folder}")
                install(DIRECTORY "${folder}/" DESTINATION licenses/Qt)
            endif()
        endforeach()
        if(NOT licences)
            message(WARNING "No Licenses folder beside this Qt: the Windows downloads will carry "
                            "Qt's notice without its licence texts")
        endif()
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/qt-notice.txt.in
                   ${PROJECT_BINARY_DIR}/qt-notice.txt @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/qt-notice.txt DESTINATION licenses/Qt RENAME README.txt)
endfunction()

# vorrel_nsis_installer(): a 64-bit installer into Program Files with a Start menu entry and one
# Apps & Features entry under a key without the version, so that a newer version replaces the
# older one's entry; it installs and uninstalls silently with /S.
function(vorrel_nsis_installer)
    set(key "Vorrel Designer")
    set(uninstall_key "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\${key}")
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${key}" PARENT_SCOPE)
    set(CPACK_NSIS_PACKAGE_NAME "Vorrel Designer" PARENT_SCOPE)
    set(CPACK_NSIS_DISPLAY_NAME "Vorrel Designer" PARENT_SCOPE)
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64" PARENT_SCOPE)
    set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/vorrel.ico PARENT_SCOPE)
    set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/vorrel.ico PARENT_SCOPE)
    set(CPACK_NSIS_COMPRESSOR "/SOLID lzma" PARENT_SCOPE)
    set(CPACK_NSIS_MANIFEST_DPI_AWARE ON PARENT_SCOPE)
    # The icon shown in Apps & Features, taken from the program itself.
    set(CPACK_NSIS_INSTALLED_ICON_NAME "vorrel.exe" PARENT_SCOPE)
    set(CPACK_NSIS_URL_INFO_ABOUT "${CPACK_PACKAGE_HOMEPAGE_URL}" PARENT_SCOPE)
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON PARENT_SCOPE)
    # A Start menu entry "Vorrel Designer" for vorrel.exe.
    set(CPACK_PACKAGE_EXECUTABLES vorrel "Vorrel Designer" PARENT_SCOPE)
    set(CPACK_NSIS_EXECUTABLES_DIRECTORY . PARENT_SCOPE)
    # The program is 64-bit, and so is the installer where NSIS has 64-bit stubs (Debian's has):
    # it then sees Program Files and the registry as the program does.
    set(defines "!include FileFunc.nsh")
    cmake_path(GET VORREL_MAKENSIS PARENT_PATH nsis)
    foreach(stubs "${nsis}/Stubs" "${nsis}/../share/nsis/Stubs")
        if(EXISTS "${stubs}/lzma_solid-amd64-unicode")
            set(defines "Target amd64-unicode\n${defines}")
            break()
        endif()
    endforeach()
    set(CPACK_NSIS_DEFINES "${defines}" PARENT_SCOPE)
    # What CPack's installer leaves out: the installed size and a quiet uninstall command for
    # Apps & Features, and no uninstall shortcut in the Start menu (Apps & Features removes it).
    string(JOIN "\n" install_commands
        "\${GetSize} \"$INSTDIR\" \"/S=0K\" $0 $1 $2"
        "WriteRegDWORD SHCTX \"${uninstall_key}\" \"EstimatedSize\" $0"
        "WriteRegStr SHCTX \"${uninstall_key}\" \"QuietUninstallString\" '\"$INSTDIR\\Uninstall.exe\" /S'"
        "Delete \"$SMPROGRAMS\\$STARTMENU_FOLDER\\Uninstall.lnk\"")
    set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "${install_commands}" PARENT_SCOPE)
    # CPack removes the installer's own key but leaves the publisher's key above it.
    set(vendor_key "Software\\${CPACK_PACKAGE_VENDOR}")
    string(JOIN "\n" uninstall_commands
        "DeleteRegKey SHCTX \"${vendor_key}\\${key}\""
        "DeleteRegKey /ifempty SHCTX \"${vendor_key}\"")
    set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "${uninstall_commands}" PARENT_SCOPE)
endfunction()

set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vorrel Designer")
vorrel_deploy_qt()

if(WIN32)
    # The program icon and the version record are compiled into vorrel.exe (ui/CMakeLists.txt).
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
    if(MSVC)
        # The Visual C++ runtime DLLs beside the program, so it needs no separate redistributable.
        set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION ${CMAKE_INSTALL_BINDIR})
        include(InstallRequiredSystemLibraries)
    endif()
    vorrel_qt_licence()

    set(CPACK_PACKAGE_FILE_NAME "vorrel-${PROJECT_VERSION}-win64")
    set(CPACK_GENERATOR ZIP)
    find_program(VORREL_MAKENSIS makensis
                 PATHS "$ENV{ProgramFiles\(x86\)}/NSIS" "$ENV{ProgramFiles}/NSIS")
    if(VORREL_MAKENSIS)
        list(APPEND CPACK_GENERATOR NSIS)
    endif()
    vorrel_nsis_installer()
else()
    # The bundle's Info.plist. LSMinimumSystemVersion is the macOS the build targets:
    # CMAKE_OSX_DEPLOYMENT_TARGET when it is given, else the SDK's own version, which is what
    # the compiler then targets.
    set(VORREL_MACOS_MINIMUM "${CMAKE_OSX_DEPLOYMENT_TARGET}")
    if(NOT VORREL_MACOS_MINIMUM)
        execute_process(COMMAND xcrun --sdk macosx --show-sdk-version
                        OUTPUT_VARIABLE VORREL_MACOS_MINIMUM OUTPUT_STRIP_TRAILING_WHITESPACE)
        message(STATUS "CMAKE_OSX_DEPLOYMENT_TARGET is not set: the bundle asks for "
                       "macOS ${VORREL_MACOS_MINIMUM}, the SDK's version")
    endif()
    get_target_property(VORREL_BUNDLE_EXECUTABLE vorrel OUTPUT_NAME)
    if(NOT VORREL_BUNDLE_EXECUTABLE)
        set(VORREL_BUNDLE_EXECUTABLE vorrel)
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/resources/macos/Info.plist.in
                   ${PROJECT_BINARY_DIR}/Info.plist @ONLY)
    set_target_properties(vorrel PROPERTIES MACOSX_BUNDLE_INFO_PLIST ${PROJECT_BINARY_DIR}/Info.plist)

    # The icon and the licence in Contents/Resources. vorrel.icns is built from the icon set with
    # icnsutils (it takes the 16, 32, 48 and 256 pixel images as they are):
    #   png2icns resources/vorrel.icns resources/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/vorrel.png
    set(bundled ${PROJECT_SOURCE_DIR}/resources/vorrel.icns ${PROJECT_SOURCE_DIR}/LICENSE)
    target_sources(vorrel PRIVATE ${bundled})
    set_source_files_properties(${bundled} TARGET_DIRECTORY vorrel
                                PROPERTIES MACOSX_PACKAGE_LOCATION Resources)

    # Deploying rewrites the load paths in the program and in Qt's frameworks, which voids their
    # signatures, and Apple silicon runs no arm64 code without a valid one: sign the bundle again,
    # ad hoc unless an identity is given.
    set(VORREL_CODESIGN_IDENTITY - CACHE STRING "codesign identity for vorrel.app (- is ad hoc)")
    install(CODE "
        set(bundle \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/$<TARGET_FILE_NAME:vorrel>.app\")
        execute_process(COMMAND codesign --force --deep --sign \"${VORREL_CODESIGN_IDENTITY}\"
                                \"\${bundle}\" RESULT_VARIABLE result)
        if(result)
            message(FATAL_ERROR \"codesign failed: \${result}\")
        endif()")

    set(CPACK_GENERATOR DragNDrop)
    set(CPACK_DMG_VOLUME_NAME "Vorrel Designer")
    set(CPACK_PACKAGE_ICON ${PROJECT_SOURCE_DIR}/resources/vorrel.icns)
    # No licence agreement dialog when the image is opened; the licence is in the bundle.
    set(CPACK_DMG_SLA_USE_RESOURCE_FILE_LICENSE OFF)
endif()
