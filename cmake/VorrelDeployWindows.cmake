# SPDX-License-Identifier: MIT
# Run at install time (cmake/VorrelPackaging.cmake sets its inputs): Qt's Windows platform plugin
# and its styles, and every DLL that the program and they import, found in the given folders,
# beside vorrel.exe; the system's own DLLs stay where they are. With a strip tool given, the copies
# lose their debugging sections.
#   VORREL_DEPLOY_PROGRAM   the installed vorrel.exe
#   VORREL_DEPLOY_PLUGINS   Qt's plugin folder
#   VORREL_DEPLOY_SEARCH    the folders of Qt's and the compiler's DLLs
#   VORREL_DEPLOY_STRIP     the strip tool, or empty
cmake_policy(VERSION 3.21)
cmake_path(GET VORREL_DEPLOY_PROGRAM PARENT_PATH top)
file(GLOB styles "${VORREL_DEPLOY_PLUGINS}/styles/*.dll")
file(INSTALL "${VORREL_DEPLOY_PLUGINS}/platforms/qwindows.dll" DESTINATION "${top}/platforms")
file(INSTALL ${styles} DESTINATION "${top}/styles")
file(GLOB modules "${top}/platforms/*.dll" "${top}/styles/*.dll")

# Windows finds DLLs whatever the case of their names, and CMake looks for them by their lower-case
# names: on a case-sensitive file system (a cross build) it misses Qt6Core.dll. So each name CMake
# leaves unresolved is looked up here among the folders' DLLs, and what is found is read in turn.
set(known "")
foreach(folder IN LISTS VORREL_DEPLOY_SEARCH)
    file(GLOB dlls "${folder}/*.dll")
    list(APPEND known ${dlls})
endforeach()
set(libraries "")
set(system "")
set(scan EXECUTABLES "${VORREL_DEPLOY_PROGRAM}" MODULES ${modules})
while(scan)
    file(GET_RUNTIME_DEPENDENCIES ${scan}
         DIRECTORIES ${VORREL_DEPLOY_SEARCH}
         PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
         POST_EXCLUDE_REGEXES "[/\\][Ss][Yy][Ss][Tt][Ee][Mm]32[/\\]"
         RESOLVED_DEPENDENCIES_VAR resolved
         UNRESOLVED_DEPENDENCIES_VAR unresolved)
    foreach(name IN LISTS unresolved)
        string(TOLOWER "${name}" name)
        set(match "")
        foreach(dll IN LISTS known)
            cmake_path(GET dll FILENAME candidate)
            string(TOLOWER "${candidate}" candidate)
            if(candidate STREQUAL name)
                set(match "${dll}")
                break()
            endif()
        endforeach()
        if(match)
            list(APPEND resolved "${match}")
        else()
            list(APPEND system "${name}")
        endif()
    endforeach()
    set(new "")
    foreach(dll IN LISTS resolved)
        if(NOT dll IN_LIST libraries)
            list(APPEND libraries "${dll}")
            list(APPEND new "${dll}")
        endif()
    endforeach()
    set(scan "")
    if(new)
        set(scan MODULES ${new})
    endif()
endwhile()
list(REMOVE_DUPLICATES system)
list(SORT system)
message(STATUS "Left to Windows: ${system}")
file(INSTALL ${libraries} DESTINATION "${top}")

if(VORREL_DEPLOY_STRIP)
    set(installed ${modules})
    foreach(dll IN LISTS libraries)
        cmake_path(GET dll FILENAME name)
        list(APPEND installed "${top}/${name}")
    endforeach()
    execute_process(COMMAND "${VORREL_DEPLOY_STRIP}" --strip-unneeded ${installed}
                    COMMAND_ERROR_IS_FATAL ANY)
endif()
