# carvex_library(NAME DIR DEPS...) builds every .cpp of DIR (recursively) into a static
# library; headers are included as "<folder>/<Type>.h" relative to the repository root.
function(carvex_library name dir)
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  file(GLOB_RECURSE _hdrs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.h)
  if(_srcs)
    add_library(${name} STATIC ${_srcs} ${_hdrs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    set(_vis PUBLIC)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    set(_vis INTERFACE)
  endif()
  if(ARGN)
    target_link_libraries(${name} ${_vis} ${ARGN})
  endif()
endfunction()

# carvex_tests(NAME DIR LIBS...) builds every .cpp of tests/DIR into one GoogleTest binary.
function(carvex_tests name dir)
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT _srcs)
    return()
  endif()
  add_executable(${name} ${_srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    CARVEX_SHARED_DIR="${CMAKE_SOURCE_DIR}/../shared"
    CARVEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    CARVEX_BINARY_DIR="${CMAKE_BINARY_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
