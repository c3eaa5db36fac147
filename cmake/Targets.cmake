# One static library per source folder, its sources globbed so that a new unit needs no edit
# here; a folder without sources yet is an interface target so that its dependents link.
function(qv_library name)
  cmake_parse_arguments(A "" "" "PUBLIC;PRIVATE" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${A_PUBLIC} PRIVATE ${A_PRIVATE})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${A_PUBLIC})
  endif()
endfunction()

# One test executable per folder of tests/, every *_test.cpp of the folder in it, each test its
# own ctest entry. NO_MAIN when the folder brings its own main().
function(qv_test name)
  cmake_parse_arguments(A "NO_MAIN" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock)
  if(NOT A_NO_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    QV_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    QV_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300)
endfunction()
