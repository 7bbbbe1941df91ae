# SPDX-License-Identifier: MIT
# Installing and packaging on Windows and macOS; the Debian package is set up in the top-level
# CMakeLists.txt. Included there after the program's target exists and before include(CPack).
#
#   Windows: `cmake --install` puts vorrel.exe (carrying its icon and version record) in bin/
#   with the Qt libraries and plugins beside it; `cpack` writes a ZIP of that tree and, where
#   NSIS's makensis is installed, an installer with a Start menu entry.
#   macOS:   vorrel.app with its Info.plist and icon, the Qt frameworks and plugins copied into
#   the bundle at install time; `cpack` writes a drag-and-drop disk image.
#
# Qt is deployed with qt_generate_deploy_app_script where Qt has it (6.3 and later) and with
# windeployqt or macdeployqt run at install time otherwise (Qt 6.2).

if(NOT WIN32 AND NOT APPLE)
    return()
endif()

# vorrel_deploy_qt(): installs the Qt libraries and plugins that the program needs beside it.
function(vorrel_deploy_qt)
    if(COMMAND qt_generate_deploy_app_script)
        if(Qt6_VERSION VERSION_GREATER_EQUAL 6.5)
            # The program loads no translations, and the MSVC runtime comes from
            # InstallRequiredSystemLibraries below.
            qt_generate_deploy_app_script(TARGET vorrel OUTPUT_SCRIPT deploy_script
                                          NO_TRANSLATIONS NO_COMPILER_RUNTIME)
        else()
            qt_generate_deploy_app_script(TARGET vorrel FILENAME_VARIABLE deploy_script)
        endif()
        install(SCRIPT ${deploy_script})
        return()
    endif()

    # Qt 6.2: its deploy tool from Qt's own bin folder.
    if(WIN32)
        set(tool windeployqt)
        set(options "--no-translations --no-compiler-runtime")
        set(deployed "${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:vorrel>")
    else()
        set(tool macdeployqt)
        set(options "")
        set(deployed "$<TARGET_FILE_NAME:vorrel>.app")
    endif()
    set(hints "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" "${Qt6_DIR}/../../../bin")
    if(TARGET Qt6::qmake)
        get_target_property(qmake Qt6::qmake IMPORTED_LOCATION)
        cmake_path(GET qmake PARENT_PATH qmake_dir)
        list(PREPEND hints "${qmake_dir}")
    endif()
    find_program(VORREL_DEPLOY_QT ${tool} HINTS ${hints} NO_DEFAULT_PATH)
    find_program(VORREL_DEPLOY_QT ${tool})
    if(NOT VORREL_DEPLOY_QT)
        message(WARNING "${tool} not found next to Qt: `cmake --install` will not copy Qt "
                        "beside the program")
        return()
    endif()
    install(CODE "
        set(deployed \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${deployed}\")
        message(STATUS \"Deploying Qt: ${VORREL_DEPLOY_QT} \${deployed}\")
        execute_process(COMMAND \"${VORREL_DEPLOY_QT}\" ${options} \"\${deployed}\"
                        RESULT_VARIABLE result)
        if(result)
            message(FATAL_ERROR \"${tool} failed: \${result}\")
        endif()")
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

    set(CPACK_GENERATOR ZIP)
    find_program(VORREL_MAKENSIS makensis
                 PATHS "$ENV{ProgramFiles\(x86\)}/NSIS" "$ENV{ProgramFiles}/NSIS")
    if(VORREL_MAKENSIS)
        list(APPEND CPACK_GENERATOR NSIS)
    endif()
    set(CPACK_NSIS_PACKAGE_NAME "Vorrel Designer")
    set(CPACK_NSIS_DISPLAY_NAME "Vorrel Designer")
    set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/vorrel.ico)
    set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/vorrel.ico)
    # The icon shown in Settings > Apps, taken from the program itself.
    set(CPACK_NSIS_INSTALLED_ICON_NAME "${CMAKE_INSTALL_BINDIR}\\\\vorrel.exe")
    set(CPACK_NSIS_URL_INFO_ABOUT "${CPACK_PACKAGE_HOMEPAGE_URL}")
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    # A Start menu entry "Vorrel Designer" for bin\vorrel.exe.
    set(CPACK_PACKAGE_EXECUTABLES vorrel "Vorrel Designer")
    set(CPACK_NSIS_EXECUTABLES_DIRECTORY ${CMAKE_INSTALL_BINDIR})
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
