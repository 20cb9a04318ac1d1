# End-to-end tests under Wine: every tests/e2e/*_test.sh, label "wine". Each
# gets its own work folder (Wine prefix, Xvfb display, screenshots). A test
# runs the product under 32-bit Wine (label "product" too) unless its script
# sets E2E_BUILD=sim (label "sim": the x86_64 build and the toolkit demo). A
# machine that cannot run 32-bit programs skips the product's tests (77).
file(GLOB _wine_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.sh)
foreach(script ${_wine_tests})
  get_filename_component(name ${script} NAME_WE)
  file(STRINGS ${script} _sim_build REGEX "^E2E_BUILD=sim *$")
  if(_sim_build)
    set(_labels "wine;sim")
  else()
    set(_labels "wine;product")
  endif()
  add_test(NAME wine_${name}
           COMMAND bash ${script} ${ZENTRA_DIST_DIR} ${CMAKE_BINARY_DIR}/e2e/${name})
  set_tests_properties(wine_${name} PROPERTIES LABELS "${_labels}" TIMEOUT 300
                                               RESOURCE_LOCK wine_desktop SKIP_RETURN_CODE 77)
endforeach()
