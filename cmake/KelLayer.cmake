# One shared library per layer. Sources are globbed so that adding a unit needs
# no edit here; --no-undefined makes a layer that reaches upwards fail to link.
function(kel_layer NAME DIR)
  cmake_parse_arguments(ARG "" "" "DEPS;SYSTEM" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${DIR}/*.cpp)
  add_library(${NAME} SHARED ${_src})
  target_include_directories(${NAME} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${NAME} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_SYSTEM})
  if(NOT KEL_SANITIZE AND NOT KEL_FUZZ)
    target_link_options(${NAME} PRIVATE -Wl,--no-undefined)
  endif()
  set_target_properties(${NAME} PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib
    CXX_VISIBILITY_PRESET default)
endfunction()

# One GoogleTest executable per layer or package, registered with CTest.
function(kel_test NAME DIR)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${DIR}/*.cpp)
  if(NOT _src)
    return()
  endif()
  add_executable(${NAME} ${_src})
  target_link_libraries(${NAME} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${NAME} PRIVATE KEL_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${NAME} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
