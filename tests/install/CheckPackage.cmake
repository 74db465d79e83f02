# cmake -DBUILD=DIR -DWORK=DIR -DEXPECTED="rel;paths" -DDPKG_DEB=dpkg-deb -DGUI=ON|OFF -P ...
# Builds the Debian package of the build with cpack and fails unless it holds exactly the
# expected files under /usr and its control fields name the package, its section and the
# shared libraries it needs.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND "${CMAKE_CPACK_COMMAND}" -G DEB --config "${BUILD}/CPackConfig.cmake"
                        -B "${WORK}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB debs "${WORK}/*.deb")
list(LENGTH debs count)
if(NOT result EQUAL 0 OR NOT count EQUAL 1)
    message(FATAL_ERROR "cpack -G DEB failed (${result}, ${count} packages):\n${output}")
endif()

execute_process(COMMAND "${DPKG_DEB}" --contents "${debs}" OUTPUT_VARIABLE listing
                RESULT_VARIABLE result)
string(REPLACE "\n" ";" lines "${listing}")
set(files)
foreach(line IN LISTS lines)
    # "-rw-r--r-- root/root 1234 2026-12-07 12:00 ./usr/bin/cuttrace"; folders end in '/'.
    if(line MATCHES " \\./usr/(.*[^/])$")
        list(APPEND files "${CMAKE_MATCH_1}")
    endif()
endforeach()
list(SORT files)
set(wanted ${EXPECTED})
list(SORT wanted)
if(NOT files STREQUAL wanted)
    message(FATAL_ERROR "the package holds:\n  ${files}\nexpected under /usr:\n  ${wanted}")
endif()

macro(field name)
    execute_process(COMMAND "${DPKG_DEB}" --field "${debs}" ${name} OUTPUT_VARIABLE ${name}
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
endmacro()
field(Package)
field(Version)
field(Section)
field(Maintainer)
field(Depends)
field(Description)
set(checks "Package STREQUAL cuttrace" "Section STREQUAL science" "Version MATCHES ^[0-9]"
    "Maintainer MATCHES @" "Depends MATCHES libc6" "Depends MATCHES libstdc"
    "Description MATCHES milling")
if(GUI)
    list(APPEND checks "Depends MATCHES libqt6widgets6" "Depends MATCHES libqt6gui6")
endif()
foreach(check IN LISTS checks)
    separate_arguments(parts UNIX_COMMAND "${check}")
    list(GET parts 0 name)
    list(GET parts 1 op)
    list(GET parts 2 value)
    if(NOT "${${name}}" ${op} "${value}")
        message(FATAL_ERROR "control field ${name} '${${name}}' fails: ${op} ${value}")
    endif()
endforeach()
message(STATUS "${debs}: ${Package} ${Version}, depends on ${Depends}")
