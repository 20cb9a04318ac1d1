# Windows builds. ZentraManager.exe is the product (i686, real Win32 platform);
# ZentraManagerSim.exe is the real Win32 user interface on the simulated driver
# (x86_64, runs under wine64).
enable_language(RC)
set(ZENTRA_BUILD_VARIANT "product" CACHE STRING "product or sim")

set(_common ${ZENTRA_NEUTRAL_SOURCES} ${ZENTRA_WIN32_SOURCES} ${ZENTRA_EMBEDDED_CPP}
            ${ZENTRA_SRC}/main/main_win32.cpp ${ZENTRA_SRC}/resources/zentra.rc)

if(ZENTRA_BUILD_VARIANT STREQUAL "sim")
  set(_exe ZentraManagerSim)
  # The simulated driver takes the place of the 16-bit memory and wave layer.
  list(FILTER _common EXCLUDE REGEX "platform/win32/win32_(wow16|wave)\\.cpp$")
  add_executable(${_exe} WIN32 ${_common} ${ZENTRA_SIM_SOURCES})
  target_compile_definitions(${_exe} PRIVATE ZENTRA_SIMULATED_DRIVER=1)
else()
  set(_exe ZentraManager)
  add_executable(${_exe} WIN32 ${_common})
  target_link_libraries(${_exe} PRIVATE wow32)
endif()

target_include_directories(${_exe} PRIVATE ${ZENTRA_SRC})
target_compile_definitions(${_exe} PRIVATE WINVER=0x0400 _WIN32_WINDOWS=0x0400 _WIN32_IE=0x0400
                                           NOMINMAX WIN32_LEAN_AND_MEAN)
target_link_libraries(${_exe} PRIVATE shell32 winmm user32 gdi32 comctl32 kernel32)
target_link_options(${_exe} PRIVATE -static -static-libgcc -static-libstdc++
                    -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0
                    -Wl,--major-os-version,4 -Wl,--minor-os-version,0)
zentra_warnings(${_exe})
set_target_properties(${_exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZENTRA_DIST_DIR})

# Helper programs for the Wine end-to-end tests (tools/e2e).
if(ZENTRA_BUILD_VARIANT STREQUAL "sim" AND EXISTS ${CMAKE_SOURCE_DIR}/tools/e2e/probe.cpp)
  add_executable(zentra_probe ${CMAKE_SOURCE_DIR}/tools/e2e/probe.cpp
                              ${CMAKE_SOURCE_DIR}/tools/e2e/probe_system.cpp)
  target_link_libraries(zentra_probe PRIVATE user32 gdi32)
  target_link_options(zentra_probe PRIVATE -static -static-libgcc -static-libstdc++)
  set_target_properties(zentra_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZENTRA_DIST_DIR})
endif()

# The toolkit demo (tools/toolkit-demo): the native backend's own checks and
# a window with every kind of control, for the Wine tests of the backend.
if(ZENTRA_BUILD_VARIANT STREQUAL "sim" AND EXISTS ${CMAKE_SOURCE_DIR}/tools/toolkit-demo/toolkit_demo.cpp)
  file(GLOB _demo_sources CONFIGURE_DEPENDS ${ZENTRA_SRC}/toolkit/*.cpp ${ZENTRA_SRC}/toolkit/win32/*.cpp
                                            ${ZENTRA_SRC}/controls/*.cpp)
  add_executable(toolkit_demo ${_demo_sources} ${ZENTRA_SRC}/platform/text_encoding.cpp
                              ${ZENTRA_SRC}/platform/platform.cpp ${ZENTRA_SRC}/app/about_box.cpp
                              ${ZENTRA_EMBEDDED_CPP} ${CMAKE_SOURCE_DIR}/tools/toolkit-demo/toolkit_demo.cpp)
  target_include_directories(toolkit_demo PRIVATE ${ZENTRA_SRC})
  target_compile_definitions(toolkit_demo PRIVATE WINVER=0x0400 _WIN32_WINDOWS=0x0400 _WIN32_IE=0x0400
                                                  NOMINMAX WIN32_LEAN_AND_MEAN)
  target_link_libraries(toolkit_demo PRIVATE user32 gdi32 comctl32 kernel32)
  target_link_options(toolkit_demo PRIVATE -static -static-libgcc -static-libstdc++)
  zentra_warnings(toolkit_demo)
  set_target_properties(toolkit_demo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZENTRA_DIST_DIR})
endif()
