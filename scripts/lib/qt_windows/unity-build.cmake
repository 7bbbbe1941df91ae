# SPDX-License-Identifier: MIT
# Loaded by Qt's configure (CMAKE_PROJECT_INCLUDE): two more unity builds (several sources a
# compiler run) than Qt makes for Windows, which were most of its build time.
# - Gui: Qt leaves it out on Windows for the clashes of its Windows sources with the rest; those are
#   compiled one by one, and every other source of Gui in batches.
# - HarfBuzz: Qt leaves its third-party libraries out; HarfBuzz itself builds as one source too.
function(vorrel_unity_builds)
    if(TARGET Gui)
        set_property(TARGET Gui PROPERTY UNITY_BUILD ON)
        get_target_property(sources Gui SOURCES)
        get_target_property(dir Gui SOURCE_DIR)
        set(alone "")
        foreach(source IN LISTS sources)
            if(source MATCHES "(_win\\.cpp|/windows/|/qrhid3d|D3D12Mem|renderdoc)")
                get_filename_component(source "${source}" ABSOLUTE BASE_DIR "${dir}")
                list(APPEND alone "${source}")
            endif()
        endforeach()
        if(alone)
            set_source_files_properties(${alone} TARGET_DIRECTORY Gui
                                        PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
        endif()
    endif()
    if(TARGET BundledHarfbuzz)
        set_property(TARGET BundledHarfbuzz PROPERTY UNITY_BUILD ON)
    endif()
endfunction()
if(NOT vorrel_unity_builds_deferred)
    set(vorrel_unity_builds_deferred TRUE)
    cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL vorrel_unity_builds)
endif()
