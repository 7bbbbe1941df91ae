# SPDX-License-Identifier: MIT
# cmake -DIN=service-worker.js.in -DOUT=service-worker.js -DFILES=a;b;... -P this file: the service
# worker that keeps FILES (served from the folder they are installed into), its cache named by a
# hash of their contents.
set(hashes "")
set(names "'./'")
foreach(file IN LISTS FILES)
    file(SHA256 "${file}" hash)
    string(APPEND hashes "${hash}\n")
    cmake_path(GET file FILENAME name)
    string(APPEND names ", '${name}'")
endforeach()
string(SHA256 id "${hashes}")
string(SUBSTRING "${id}" 0 16 VORREL_WEB_BUILD_ID)
set(VORREL_WEB_FILES "${names}")
configure_file("${IN}" "${OUT}" @ONLY)
