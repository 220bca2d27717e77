# Shared build helpers.
set(OV_WARNINGS -Wall -Wextra -Wpedantic)

if(OV_SANITIZE)
  add_compile_options(-fsanitize=${OV_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${OV_SANITIZE})
endif()

# ov_module(<target> <STATIC|SHARED|EXECUTABLE> SOURCES ... [LIBS ...])
function(ov_module name kind)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(kind STREQUAL "EXECUTABLE")
    add_executable(${name} ${A_SOURCES})
  else()
    add_library(${name} ${kind} ${A_SOURCES})
  endif()
  target_compile_options(${name} PRIVATE ${OV_WARNINGS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
endfunction()

# ov_add_test(<name> SOURCES ... [LIBS ...] [QT]) registers one GoogleTest executable with CTest.
# QT runs it on the offscreen platform, with a QApplication made by the shared entry point.
function(ov_add_test name)
  cmake_parse_arguments(A "QT" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(A_QT)
    add_executable(${name} ${A_SOURCES} ${PROJECT_SOURCE_DIR}/tests/QtTestMain.cpp)
    target_link_libraries(${name} PRIVATE Qt6::Widgets)
  else()
    add_executable(${name} ${A_SOURCES})
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_options(${name} PRIVATE ${OV_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock Threads::Threads)
  target_compile_definitions(${name} PRIVATE
    OV_CLI_PATH="$<TARGET_FILE:ostravue-cli>"
    OV_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
    OV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_dependencies(${name} ostravue-cli)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  # Tests never see the user's settings: a config folder of their own.
  set(env "OV_TEST_TMP=${CMAKE_BINARY_DIR}/test-tmp" "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-tmp/config")
  if(A_QT)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT} ENVIRONMENT "${env}")
endfunction()

# Fuzz builds instrument every library for coverage, not only the fuzz targets. A finding in any
# library must stop the run, or the fuzzer logs it and keeps no input that shows it.
if(OV_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
