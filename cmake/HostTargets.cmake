# Host build: the product code on the headless toolkit and the simulated
# driver, as a library for the tests, benchmarks and fuzz targets.
enable_testing()
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

add_library(zentra_host STATIC
  ${ZENTRA_NEUTRAL_SOURCES} ${ZENTRA_SIM_SOURCES} ${ZENTRA_HOST_SOURCES} ${ZENTRA_EMBEDDED_CPP})
target_include_directories(zentra_host PUBLIC ${ZENTRA_SRC})
target_link_libraries(zentra_host PUBLIC Threads::Threads)
zentra_warnings(zentra_host)
if(ZENTRA_SANITIZE)
  target_compile_options(zentra_host PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(zentra_host PUBLIC -fsanitize=address,undefined)
endif()

# One test program per folder of tests/ (tests/e2e holds the Wine tests).
include(GoogleTest)
file(GLOB _test_dirs LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/*)
foreach(dir ${_test_dirs})
  get_filename_component(name ${dir} NAME)
  if(NOT IS_DIRECTORY ${dir} OR name STREQUAL "e2e" OR name STREQUAL "support")
    continue()
  endif()
  file(GLOB _tests CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT _tests)
    continue()
  endif()
  file(GLOB _support CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
  add_executable(test_${name} ${_tests} ${_support})
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(test_${name} PRIVATE zentra_host GTest::gtest GTest::gtest_main)
  zentra_warnings(test_${name})
  gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT 60)
endforeach()

# Benchmarks and fuzz targets live in tools/.
file(GLOB _tool_cmake CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*/CMakeLists.txt)
foreach(f ${_tool_cmake})
  get_filename_component(d ${f} DIRECTORY)
  add_subdirectory(${d})
endforeach()

if(ZENTRA_WINE_TESTS)
  include(${CMAKE_SOURCE_DIR}/tests/e2e/WineTests.cmake)
endif()
