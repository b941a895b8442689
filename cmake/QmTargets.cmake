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

# qm_gui_test(NAME SOURCES... [DEPS ...]): a GoogleTest program for the user
# interface. Its main (tests/common/gui_test_environment.cpp) creates one offscreen
# Application for all tests; ctest runs it with QT_QPA_PLATFORM=offscreen. When DEPS
# name qm_setup_resources, the application carries the program's resources.
function(qm_gui_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/common/gui_test_environment.cpp)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE qm_options ${ARG_DEPS} qm_platform_ui Qt6::Widgets GTest::gtest)
  if("qm_setup_resources" IN_LIST ARG_DEPS)
    target_compile_definitions(${name} PRIVATE QM_GUI_TEST_SETUP_RESOURCES=1)
  endif()
  target_compile_definitions(${name} PRIVATE
    QM_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    QM_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  if(QM_SANITIZE)
    # Leaks inside the font and platform libraries are theirs; ours stay reported.
    # The test's main hands the file to LeakSanitizer (__lsan_default_options).
    target_compile_definitions(${name} PRIVATE QM_LSAN_SUPPRESSIONS="${PROJECT_SOURCE_DIR}/tests/lsan.supp")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
