# Windows programs run here under wine64, in a prefix inside the build tree,
# on the display the session script hands out (an Xvfb of its own when none
# is set). One wineserver stays up for the whole test run.
set(WINE_SESSION_DIR ${CMAKE_BINARY_DIR}/wine-state)
set(WINE_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-env.sh.in ${CMAKE_BINARY_DIR}/wine-env.sh @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-session.sh.in ${CMAKE_BINARY_DIR}/wine-session
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)

# Every test that starts a Windows program asks for this fixture.
function(add_wine_session_fixture)
  add_test(NAME wine_session_start COMMAND ${CMAKE_BINARY_DIR}/wine-session start)
  add_test(NAME wine_session_stop COMMAND ${CMAKE_BINARY_DIR}/wine-session stop)
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
endfunction()
