# cmake -DTOOL=update-mime-database -DOURS=x.xml -DDESKTOP=x.desktop -DWORK=DIR -P CheckMime.cmake
# Builds a MIME database of the desktop's own types plus ours and fails unless the picture
# files have their own type, the program extensions are G-code, *.nc stays netCDF's too
# (binary netCDF files keep their type), and every type the desktop entry names exists.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/packages")
file(COPY /usr/share/mime/packages/freedesktop.org.xml DESTINATION "${WORK}/packages")
file(COPY "${OURS}" DESTINATION "${WORK}/packages")
# The database's folder is searched by the desktop only when it is in XDG_DATA_DIRS.
get_filename_component(data_dir "${WORK}" DIRECTORY)
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "XDG_DATA_DIRS=${data_dir}" "${TOOL}" "${WORK}"
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR errors MATCHES "[A-Za-z]")
    message(FATAL_ERROR "update-mime-database failed (${result}):\n${errors}")
endif()
file(STRINGS "${WORK}/globs2" globs)
set(wanted "application/x-cuttrace-picture:\\*\\.ncv$" "text/x\\.gcode:\\*\\.nc$"
    "application/x-netcdf:\\*\\.nc$" "text/x\\.gcode:\\*\\.ncd$" "text/x\\.gcode:\\*\\.tap$"
    "text/x\\.gcode:\\*\\.eia$")
foreach(pattern IN LISTS wanted)
    set(found ${globs})
    list(FILTER found INCLUDE REGEX "${pattern}")
    if(NOT found)
        message(FATAL_ERROR "no glob ${pattern} in ${WORK}/globs2")
    endif()
endforeach()
file(STRINGS "${WORK}/types" types)
file(READ "${DESKTOP}" entry)
string(REGEX MATCH "\nMimeType=([^\n]*)" mime_line "${entry}")
set(named "${CMAKE_MATCH_1}")  # "a;b;" is a CMake list already
foreach(type IN LISTS named)
    if(type AND NOT type IN_LIST types)
        message(FATAL_ERROR "the desktop entry names ${type}, which no MIME package defines")
    endif()
endforeach()
message(STATUS "MIME types as expected")
