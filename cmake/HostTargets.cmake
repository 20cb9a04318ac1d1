# Host build: the product code on the headless toolkit and the simulated
# driver, one library per subsystem, for the tests, benchmarks and fuzz
# targets.
enable_testing()
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

# The fuzz build instruments every library for libFuzzer, ASan and UBSan
# (tools/fuzz links the fuzzer's own main).
if(ZENTRA_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(ZENTRA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

zentra_library(platform)
zentra_library(platform/host)
zentra_library(sim)
target_link_libraries(zentra_sim PUBLIC Threads::Threads)
zentra_shared_libraries()
zentra_library(toolkit/headless)

# The widget layer's comparisons are of positions, sizes and pointers, never
# of input values: tracing them for the fuzzer only costs time (a quarter of
# the whole-program target's), so only the parsers and the program's own
# logic are traced there.
if(ZENTRA_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  file(GLOB _widget_sources ${ZENTRA_SRC}/toolkit/*.cpp ${ZENTRA_SRC}/toolkit/headless/*.cpp)
  list(FILTER _widget_sources EXCLUDE REGEX "description_|loader|property_value|text_util")
  set_source_files_properties(${_widget_sources} PROPERTIES COMPILE_OPTIONS
                              -fno-sanitize-coverage=trace-cmp)
endif()

# Everything the tests and tools run: the program on the host platform, the
# headless backend and the simulated driver.
add_library(zentra_host INTERFACE)
target_link_libraries(zentra_host INTERFACE zentra_app zentra_toolkit_headless zentra_platform_host
                                            zentra_sim Threads::Threads)

# The include-direction check: no source includes a header of a subsystem
# it may not use.
zentra_write_include_rules(${CMAKE_BINARY_DIR}/include_rules.txt)
add_test(NAME include_directions
         COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-includes.sh ${CMAKE_BINARY_DIR}/include_rules.txt
                 ${ZENTRA_SRC})

# The check itself on trees of its own: it names an upward include written
# from src/ and written relative to the file.
add_test(NAME include_directions_check
         COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/test-check-includes.sh)

# The product's import check against the Windows 98 allow-list (needs the
# i686 build in dist/, made before the host build by the test command).
add_test(NAME product_imports_windows98
         COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/test-check-imports.sh
                 ${ZENTRA_DIST_DIR}/ZentraManager.exe)
set_tests_properties(product_imports_windows98 PROPERTIES SKIP_RETURN_CODE 77)

# The setup script's package-manager calls, against stand-ins for apt and dpkg.
add_test(NAME install_deps_calls COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/test-install-deps.sh)

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
