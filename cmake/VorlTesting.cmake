# Test helpers shared by every folder under tests/.
#
#   vorl_add_test(NAME <name> SOURCES <files...> [LIBS <libs...>] [WORKING_DIRECTORY <dir>])
#
# Builds a GoogleTest program and registers it with CTest. On the Windows
# build it runs under Wine through CMAKE_CROSSCOMPILING_EMULATOR; natively
# it links the host's GoogleTest.

function(vorl_use_gtest)
  if(TARGET GTest::gtest_main)
    return()
  endif()
  if(VORL_WINDOWS)
    # GoogleTest from source, built with the cross compiler.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    target_compile_options(gtest PRIVATE -w)
    target_compile_options(gtest_main PRIVATE -w)
    target_compile_options(gmock PRIVATE -w)
  else()
    find_package(GTest REQUIRED)
  endif()
endfunction()

function(vorl_add_test)
  cmake_parse_arguments(T "" "NAME;WORKING_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  vorl_use_gtest()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gtest)
  if(NOT T_WORKING_DIRECTORY)
    set(T_WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  endif()
  if(VORL_WINDOWS)
    # One Wine start per program: CTest runs the whole program as one test.
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY ${T_WORKING_DIRECTORY})
  else()
    include(GoogleTest)
    gtest_discover_tests(${T_NAME} WORKING_DIRECTORY ${T_WORKING_DIRECTORY})
  endif()
endfunction()
