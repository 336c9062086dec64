# Installs the build into a staging folder, checks what landed there, then runs the uninstall script
# and checks that everything is gone again. Uses a manifest of its own, so the build's
# install_manifest.txt (which the uninstall target reads) is never touched.
#   cmake -DBUILD_DIR=<build> -DSTAGE=<folder> -DUNINSTALL_SCRIPT=<script>
#         -P install_roundtrip.cmake
cmake_minimum_required(VERSION 3.22)
include(${CMAKE_CURRENT_LIST_DIR}/installed_files.cmake)

set(prefix /usr/local)
set(manifest ${BUILD_DIR}/install_manifest_Unspecified.txt)
file(REMOVE_RECURSE ${STAGE})
file(REMOVE ${manifest})

execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE}
            ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component Unspecified
    RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "install failed: ${status}")
endif()

foreach(path IN LISTS installed_files)
    if(NOT EXISTS ${STAGE}${prefix}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
execute_process(COMMAND test -x ${STAGE}${prefix}/bin/varnel RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "bin/varnel is not executable")
endif()

# The desktop entry names the program and the icon that were installed beside it.
file(STRINGS ${STAGE}${prefix}/share/applications/org.example.varnel.desktop entry)
foreach(line "[Desktop Entry]" "Type=Application" "Name=Varnel" "Exec=varnel" "Icon=varnel")
    if(NOT line IN_LIST entry)
        message(FATAL_ERROR "the desktop entry lacks the line ${line}")
    endif()
endforeach()

file(STRINGS ${manifest} installed)
list(LENGTH installed count)
list(LENGTH installed_files wanted)
if(NOT count EQUAL wanted)
    message(FATAL_ERROR "the manifest lists ${count} files, ${wanted} expected: ${installed}")
endif()

execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE}
            ${CMAKE_COMMAND} -DMANIFEST=${manifest} -P ${UNINSTALL_SCRIPT}
    RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "uninstall failed: ${status}")
endif()
foreach(path IN LISTS installed_files)
    if(EXISTS ${STAGE}${prefix}/${path})
        message(FATAL_ERROR "left behind by uninstall: ${path}")
    endif()
endforeach()

file(REMOVE ${manifest})
file(REMOVE_RECURSE ${STAGE})
