# Source sets. Each subsystem is one folder; the folders below win32/,
# headless/ and host/ hold the two seams that change between builds.
set(ZENTRA_SRC ${CMAKE_SOURCE_DIR}/src)

set(ZENTRA_SUBSYSTEMS app driver controls winutil mixer settings)
set(ZENTRA_NEUTRAL_SOURCES)
foreach(dir platform toolkit ${ZENTRA_SUBSYSTEMS})
  file(GLOB _files CONFIGURE_DEPENDS ${ZENTRA_SRC}/${dir}/*.cpp)
  list(APPEND ZENTRA_NEUTRAL_SOURCES ${_files})
endforeach()

file(GLOB ZENTRA_SIM_SOURCES CONFIGURE_DEPENDS ${ZENTRA_SRC}/sim/*.cpp)
file(GLOB ZENTRA_HOST_SOURCES CONFIGURE_DEPENDS
  ${ZENTRA_SRC}/platform/host/*.cpp ${ZENTRA_SRC}/toolkit/headless/*.cpp)
file(GLOB ZENTRA_WIN32_SOURCES CONFIGURE_DEPENDS
  ${ZENTRA_SRC}/platform/win32/*.cpp ${ZENTRA_SRC}/toolkit/win32/*.cpp)

# Window descriptions are embedded into the binary as text.
file(GLOB ZENTRA_WINDOW_DESCRIPTIONS CONFIGURE_DEPENDS ${ZENTRA_SRC}/resources/*.wnd)
set(ZENTRA_EMBEDDED_CPP ${CMAKE_BINARY_DIR}/generated/embedded_resources.cpp)
add_custom_command(
  OUTPUT ${ZENTRA_EMBEDDED_CPP}
  COMMAND ${CMAKE_COMMAND} -DOUT=${ZENTRA_EMBEDDED_CPP} -DRESOURCE_DIR=${ZENTRA_SRC}/resources
          -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
  DEPENDS ${ZENTRA_WINDOW_DESCRIPTIONS} ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
  COMMENT "Embedding window descriptions")

function(zentra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()
