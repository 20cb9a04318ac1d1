# The subsystems. Each is one folder below src/ and one static library
# (zentra_<folder>, a slash becoming an underscore) that links only the
# subsystems it may use; the include-direction test checks the sources
# against the same table, so a header of a subsystem that is not used
# (directly or through the ones used) cannot be included.
set(ZENTRA_SRC ${CMAKE_SOURCE_DIR}/src)

set(ZENTRA_LAYERS)
function(zentra_layer folder)
  cmake_parse_arguments(L "" "" "USES" ${ARGN})
  set_property(GLOBAL PROPERTY ZENTRA_USES_${folder} "${L_USES}")
  set_property(GLOBAL APPEND PROPERTY ZENTRA_LAYERS ${folder})
endfunction()

# Bottom up. "resources" holds the embedded window descriptions.
zentra_layer(platform)
zentra_layer(resources)
zentra_layer(platform/host USES platform)
zentra_layer(platform/win32 USES platform)
zentra_layer(sim USES platform)
# The stand-in driver modules that let the unchanged product run on the
# simulated driver: its Win32 side, and the two modules' entry points.
zentra_layer(sim/win32 USES sim)
zentra_layer(standin USES sim/win32)
zentra_layer(toolkit USES platform resources)
zentra_layer(toolkit/headless USES toolkit)
zentra_layer(toolkit/win32 USES toolkit)
zentra_layer(driver USES platform)
zentra_layer(controls USES toolkit)
zentra_layer(winutil USES controls)
zentra_layer(mixer USES driver winutil)
zentra_layer(settings USES driver winutil)
# Mixer snapshots: every card's mixer state read from and written to the
# driver, and kept in a file.
zentra_layer(snapshot USES driver winutil)
zentra_layer(app USES mixer settings snapshot)
# The program entry of the Windows builds puts the pieces together.
zentra_layer(main USES app sim platform/win32 toolkit/win32)

# Every subsystem a folder may use, directly or through others.
function(zentra_layer_closure folder out)
  get_property(uses GLOBAL PROPERTY ZENTRA_USES_${folder})
  set(all ${uses})
  foreach(u ${uses})
    zentra_layer_closure(${u} sub)
    list(APPEND all ${sub})
  endforeach()
  list(REMOVE_DUPLICATES all)
  set(${out} ${all} PARENT_SCOPE)
endfunction()

function(zentra_layer_target folder out)
  string(REPLACE "/" "_" name ${folder})
  set(${out} zentra_${name} PARENT_SCOPE)
endfunction()

function(zentra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()

# The library of one subsystem: the .cpp files of its folder (not of its
# sub-folders) plus any given, linked to the libraries of the subsystems it
# uses. A subsystem without sources yet is a header-only interface library.
function(zentra_library folder)
  cmake_parse_arguments(L "" "" "SOURCES;EXCLUDE" ${ARGN})
  zentra_layer_target(${folder} target)
  file(GLOB sources CONFIGURE_DEPENDS ${ZENTRA_SRC}/${folder}/*.cpp)
  foreach(pattern ${L_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  list(APPEND sources ${L_SOURCES})
  get_property(uses GLOBAL PROPERTY ZENTRA_USES_${folder})
  set(deps)
  foreach(u ${uses})
    zentra_layer_target(${u} t)
    if(TARGET ${t})
      list(APPEND deps ${t})
    endif()
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${ZENTRA_SRC})
    target_link_libraries(${target} PUBLIC ${deps})
    zentra_warnings(${target})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${ZENTRA_SRC})
    target_link_libraries(${target} INTERFACE ${deps})
  endif()
endfunction()

# The libraries both platform forms share, bottom up.
set(ZENTRA_SHARED_LAYERS driver controls winutil mixer settings snapshot app)

# Window descriptions are embedded into the binary as text.
file(GLOB ZENTRA_WINDOW_DESCRIPTIONS CONFIGURE_DEPENDS ${ZENTRA_SRC}/resources/*.wnd)
set(ZENTRA_EMBEDDED_CPP ${CMAKE_BINARY_DIR}/generated/embedded_resources.cpp)
add_custom_command(
  OUTPUT ${ZENTRA_EMBEDDED_CPP}
  COMMAND ${CMAKE_COMMAND} -DOUT=${ZENTRA_EMBEDDED_CPP} -DRESOURCE_DIR=${ZENTRA_SRC}/resources
          -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
  DEPENDS ${ZENTRA_WINDOW_DESCRIPTIONS} ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
  COMMENT "Embedding window descriptions")

# The layers shared by all builds, from the toolkit up: toolkit, driver and
# the six subsystems. The platform libraries come first and differ per build.
function(zentra_shared_libraries)
  zentra_library(resources SOURCES ${ZENTRA_EMBEDDED_CPP})
  zentra_library(toolkit)
  foreach(layer ${ZENTRA_SHARED_LAYERS})
    zentra_library(${layer})
  endforeach()
endfunction()

# Writes the include rules of every subsystem, "folder: allowed folders",
# for the include-direction check.
function(zentra_write_include_rules file)
  get_property(layers GLOBAL PROPERTY ZENTRA_LAYERS)
  set(text "")
  foreach(l ${layers})
    zentra_layer_closure(${l} allowed)
    string(REPLACE ";" " " allowed "${allowed}")
    string(APPEND text "${l}: ${allowed}\n")
  endforeach()
  file(WRITE ${file} "${text}")
endfunction()
