# The program's version for the builds that are not the main one (Windows, fuzzing): read from the
# project() line of the main CMakeLists.txt, the one place it is set.
set(ORVANTIS_MAIN_LISTS ${CMAKE_CURRENT_LIST_DIR}/../CMakeLists.txt)
function(orvantis_read_version out_var)
  file(STRINGS ${ORVANTIS_MAIN_LISTS} project_line REGEX "^project\\(orvantis VERSION ")
  string(REGEX REPLACE ".*VERSION ([0-9.]+).*" "\\1" version "${project_line}")
  if(NOT version MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "No version found in the project() line of ${ORVANTIS_MAIN_LISTS}")
  endif()
  set(${out_var} ${version} PARENT_SCOPE)
endfunction()
