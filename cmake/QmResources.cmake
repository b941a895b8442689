# qm_resources(NAME SCRIPT path SYMBOL fn [DEPS ...])
#
# Compiles a resource script with qmrc into NAME_generated.cpp and builds it as the
# static library NAME, which defines `const platform::ResourceModule& fn()`.
# The script's headers and bitmaps are found by qmrc and reach the build through
# its depfile; DEPS names further files or targets that must be ready first
# (for instance a program that draws the bitmaps).
function(qm_resources name)
  cmake_parse_arguments(ARG "" "SCRIPT;SYMBOL" "DEPS" ${ARGN})
  if(NOT ARG_SCRIPT OR NOT ARG_SYMBOL)
    message(FATAL_ERROR "qm_resources(${name}) needs SCRIPT and SYMBOL")
  endif()
  get_filename_component(script ${ARG_SCRIPT} ABSOLUTE)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${name}_generated.cpp)
  set(depfile ${CMAKE_CURRENT_BINARY_DIR}/${name}_generated.d)
  add_custom_command(
    OUTPUT ${source}
    COMMAND qmrc --symbol ${ARG_SYMBOL} --output ${source} --depfile ${depfile} ${script}
    MAIN_DEPENDENCY ${script}
    DEPENDS qmrc ${ARG_DEPS}
    DEPFILE ${depfile}
    COMMENT "Compiling resource script ${ARG_SCRIPT}"
    VERBATIM)
  qm_library(${name} SOURCES ${source} DEPS qm_platform_resources)
endfunction()
