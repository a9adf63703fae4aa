# tarnwick_library(<name>)
#
# Builds the static library of the current source folder from every .cpp in it.
# The folder is reachable as "<folder>/<File>.h" only to targets that link the
# library: each library gets its own include root holding a link to its folder,
# so an include that runs against the dependency graph fails to compile.
function(tarnwick_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources} ${headers})

  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${name} PUBLIC ${root})
endfunction()

# tarnwick_test(<name> SOURCES... LIBS...)
#
# One GoogleTest program per tested folder; fixtures are found through
# TARNWICK_FIXTURES_DIR, never through the current folder.
function(tarnwick_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    TARNWICK_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures"
    TARNWICK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
endfunction()
