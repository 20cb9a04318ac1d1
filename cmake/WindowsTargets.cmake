# Windows builds. ZentraManager.exe is the product (i686, real Win32 platform);
# ZentraManagerSim.exe is the real Win32 user interface on the simulated driver
# (x86_64, runs under wine64).
enable_language(RC)
set(ZENTRA_BUILD_VARIANT "product" CACHE STRING "product, sim or standin")

# Every library of these builds sees the same Windows version macros.
add_compile_definitions(WINVER=0x0400 _WIN32_WINDOWS=0x0400 _WIN32_IE=0x0400 NOMINMAX WIN32_LEAN_AND_MEAN)
set(_static_runtime -static -static-libgcc -static-libstdc++)

# The stand-in driver modules for the product (i686, -posix compilers): a
# "winmm.dll" to put beside the product and a "Zentra.DRV" for the system
# folder, each self-contained, and the end-to-end probe for 32-bit prefixes.
if(ZENTRA_BUILD_VARIANT STREQUAL "standin")
  zentra_library(platform)
  zentra_library(sim)
  zentra_library(sim/win32)
  target_link_libraries(zentra_sim_win32 PUBLIC user32 kernel32 wow32)
  set(_standin_dir ${ZENTRA_DIST_DIR}/standin)
  add_library(standin_winmm SHARED ${ZENTRA_SRC}/standin/winmm_main.cpp)
  add_library(standin_drv SHARED ${ZENTRA_SRC}/standin/drv_main.cpp)
  set_target_properties(standin_winmm PROPERTIES OUTPUT_NAME winmm PREFIX "" SUFFIX ".dll")
  set_target_properties(standin_drv PROPERTIES OUTPUT_NAME Zentra PREFIX "" SUFFIX ".DRV")
  foreach(t standin_winmm standin_drv)
    target_link_libraries(${t} PRIVATE zentra_sim_win32)
    # Undecorated export names (waveInOpen, DriverConfig), as the system's modules have.
    target_link_options(${t} PRIVATE ${_static_runtime} -Wl,--kill-at)
    zentra_warnings(${t})
    set_target_properties(${t} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${_standin_dir}
                                          LIBRARY_OUTPUT_DIRECTORY ${_standin_dir})
  endforeach()
  add_executable(zentra_probe32 ${CMAKE_SOURCE_DIR}/tools/e2e/probe.cpp
                                ${CMAKE_SOURCE_DIR}/tools/e2e/probe_system.cpp)
  target_link_libraries(zentra_probe32 PRIVATE user32 gdi32 shell32)
  target_include_directories(zentra_probe32 PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_link_options(zentra_probe32 PRIVATE ${_static_runtime})
  set_target_properties(zentra_probe32 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${_standin_dir}
                                                  OUTPUT_NAME zentra_probe)
  # The timer floor for 32-bit prefixes (tools/bench/wine_meter_cpu.sh).
  add_executable(zentra_timer_floor32 WIN32 ${CMAKE_SOURCE_DIR}/tools/bench/timer_floor.cpp)
  target_link_libraries(zentra_timer_floor32 PRIVATE user32 gdi32 winmm)
  target_link_options(zentra_timer_floor32 PRIVATE ${_static_runtime})
  zentra_warnings(zentra_timer_floor32)
  set_target_properties(zentra_timer_floor32 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${_standin_dir}
                                                        OUTPUT_NAME zentra_timer_floor)
  return()
endif()

zentra_library(platform)
zentra_shared_libraries()
zentra_library(toolkit/win32)
# The runtime's import slots that this file fills must be linked as an object:
# from a library the linker would take kernel32's before it looked there.
set(_entry ${ZENTRA_SRC}/main/main_win32.cpp ${ZENTRA_SRC}/platform/win32/ansi_runtime_imports.cpp
           ${ZENTRA_SRC}/resources/zentra.rc)
if(ZENTRA_BUILD_VARIANT STREQUAL "sim")
  set(_exe ZentraManagerSim)
  # The simulated driver takes the place of the 16-bit memory and wave layer.
  zentra_library(platform/win32 EXCLUDE "win32_(wow16|wave)\\.cpp$" "ansi_runtime_imports\\.cpp$")
  zentra_library(sim)
  add_executable(${_exe} WIN32 ${_entry})
  target_link_libraries(${_exe} PRIVATE zentra_sim)
  target_compile_definitions(${_exe} PRIVATE ZENTRA_SIMULATED_DRIVER=1)
else()
  set(_exe ZentraManager)
  zentra_library(platform/win32 EXCLUDE "ansi_runtime_imports\\.cpp$")
  add_executable(${_exe} WIN32 ${_entry})
  target_link_libraries(zentra_platform_win32 PUBLIC wow32)
endif()
target_link_libraries(zentra_platform_win32 PUBLIC shell32 comdlg32 winmm user32 kernel32)
target_link_libraries(zentra_toolkit_win32 PUBLIC user32 gdi32 comctl32 kernel32)

target_link_libraries(${_exe} PRIVATE zentra_app zentra_toolkit_win32 zentra_platform_win32)
target_link_options(${_exe} PRIVATE ${_static_runtime}
                    -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0
                    -Wl,--major-os-version,4 -Wl,--minor-os-version,0)
zentra_warnings(${_exe})
set_target_properties(${_exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZENTRA_DIST_DIR})

# Helper programs for the Wine end-to-end tests (tools/e2e).
if(ZENTRA_BUILD_VARIANT STREQUAL "sim" AND EXISTS ${CMAKE_SOURCE_DIR}/tools/e2e/probe.cpp)
  add_executable(zentra_probe ${CMAKE_SOURCE_DIR}/tools/e2e/probe.cpp
                              ${CMAKE_SOURCE_DIR}/tools/e2e/probe_system.cpp)
  target_link_libraries(zentra_probe PRIVATE user32 gdi32 shell32)
  target_include_directories(zentra_probe PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_link_options(zentra_probe PRIVATE ${_static_runtime})
  set_target_properties(zentra_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZENTRA_DIST_DIR})
endif()

# The least that metering costs under the system (tools/bench/wine_timer_floor.sh).
if(ZENTRA_BUILD_VARIANT STREQUAL "sim" AND EXISTS ${CMAKE_SOURCE_DIR}/tools/bench/timer_floor.cpp)
  add_executable(zentra_timer_floor WIN32 ${CMAKE_SOURCE_DIR}/tools/bench/timer_floor.cpp)
  target_link_libraries(zentra_timer_floor PRIVATE user32 gdi32 winmm)
  target_link_options(zentra_timer_floor PRIVATE ${_static_runtime})
  zentra_warnings(zentra_timer_floor)
  set_target_properties(zentra_timer_floor PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZENTRA_DIST_DIR})
endif()

# The toolkit demo (tools/toolkit-demo): the native backend's own checks and
# a window with every kind of control, for the Wine tests of the backend.
if(ZENTRA_BUILD_VARIANT STREQUAL "sim" AND EXISTS ${CMAKE_SOURCE_DIR}/tools/toolkit-demo/toolkit_demo.cpp)
  add_executable(toolkit_demo ${ZENTRA_SRC}/app/about_box.cpp
                              ${CMAKE_SOURCE_DIR}/tools/toolkit-demo/toolkit_demo.cpp)
  target_link_libraries(toolkit_demo PRIVATE zentra_controls zentra_toolkit_win32 zentra_platform)
  target_link_options(toolkit_demo PRIVATE ${_static_runtime})
  zentra_warnings(toolkit_demo)
  set_target_properties(toolkit_demo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZENTRA_DIST_DIR})
endif()
