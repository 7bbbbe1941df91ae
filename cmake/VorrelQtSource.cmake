# SPDX-License-Identifier: MIT
# Run by cpack after it has written the Windows downloads: the source of the Qt they carry goes
# beside them, in the folder their licence notice names (licenses/Qt/README.txt).
set(folder "${CPACK_PACKAGE_DIRECTORY}/${CPACK_VORREL_QT_SOURCE_FOLDER}")
file(MAKE_DIRECTORY "${folder}")
file(COPY ${CPACK_VORREL_QT_SOURCE_FILES} DESTINATION "${folder}")
message(STATUS "Qt's source for the downloads: ${folder}")
