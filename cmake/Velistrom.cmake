# One static library per source folder; sources are picked up by glob so that a
# new file in a folder needs no edit here. main.cpp is left for the program.
function(velistrom_library name)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
endfunction()

# One test program per test folder. Files named *_x11_test.cpp need a real X
# server with a window manager and go into a second program run under Xvfb.
function(velistrom_tests name)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(x11 ${all})
  list(FILTER x11 INCLUDE REGEX "_x11_test\\.cpp$")
  set(plain ${all})
  list(FILTER plain EXCLUDE REGEX "_x11_test\\.cpp$")
  foreach(kind plain x11)
    if(NOT ${kind})
      continue()
    endif()
    set(target test_${name})
    if(kind STREQUAL "x11")
      set(target test_${name}_x11)
    endif()
    # The test main is compiled per program: X11 programs build it for xcb.
    add_executable(${target} ${${kind}} ${CMAKE_SOURCE_DIR}/tests/support/test_main.cpp)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${target} PRIVATE velistrom_testsupport ${ARG_LINK})
    target_compile_definitions(${target} PRIVATE VELISTROM_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
    # One CTest entry per program: the test main resets the forms, clocks and
    # scripted boxes between tests, and one process per test costs six times the
    # time. Run one test with --gtest_filter.
    add_test(NAME ${target} COMMAND ${target})
    if(kind STREQUAL "x11")
      target_compile_definitions(${target} PRIVATE VELISTROM_X11_TEST=1)
      set_tests_properties(${target} PROPERTIES
        LABELS "x11" RESOURCE_LOCK x11display
        ENVIRONMENT "QT_QPA_PLATFORM=xcb;VELISTROM_BIN_DIR=${VELISTROM_BIN_DIR}")
    else()
      set_tests_properties(${target} PROPERTIES
        LABELS "unit"
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELISTROM_BIN_DIR=${VELISTROM_BIN_DIR}")
    endif()
  endforeach()
endfunction()
