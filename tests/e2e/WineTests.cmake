# End-to-end tests of the Wine build: every tests/e2e/*_test.sh, label "wine".
# Each gets its own work folder (Wine prefix, Xvfb display, screenshots).
# A test that exits 77 is reported as skipped (e.g. no 32-bit Wine here).
file(GLOB _wine_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.sh)
foreach(script ${_wine_tests})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME wine_${name}
           COMMAND bash ${script} ${ZENTRA_DIST_DIR} ${CMAKE_BINARY_DIR}/e2e/${name})
  set_tests_properties(wine_${name} PROPERTIES LABELS wine TIMEOUT 300 RESOURCE_LOCK wine_desktop
                                            SKIP_RETURN_CODE 77)
endforeach()
