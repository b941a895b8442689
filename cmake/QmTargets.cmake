# Common settings for every target of the project.

add_library(qm_options INTERFACE)
target_include_directories(qm_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(qm_options INTERFACE -Wall -Wextra)
target_compile_definitions(qm_options INTERFACE QM_VERSION="${PROJECT_VERSION}")
if(QM_WERROR)
  target_compile_options(qm_options INTERFACE -Werror)
endif()
if(QM_SANITIZE)
  target_compile_options(qm_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(qm_options INTERFACE -fsanitize=address,undefined)
endif()

# qm_library(NAME SOURCES... [DEPS ...])
function(qm_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC qm_options ${ARG_DEPS})
endfunction()

# qm_test(NAME SOURCES... [DEPS ...]): one GoogleTest program, registered with ctest.
function(qm_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE qm_options ${ARG_DEPS} GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    QM_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    QM_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()
