# Windows programs run here under Wine: the 64-bit build under wine64, the
# 32-bit build under Wine's 32-bit half, both in one WoW64 prefix under
# build/, on the display the session script hands out (an Xvfb of its own
# when none is set). One wineserver stays up for a whole test run.
# Both loaders are called by name: /usr/bin/wine starts the 32-bit one first,
# which fails even for 64-bit programs on a kernel without 32-bit support.
set(WINE32_LOADER /usr/lib/wine/wine CACHE FILEPATH "Wine's loader for 32-bit programs")
set(WINE64_LOADER /usr/lib/wine/wine64 CACHE FILEPATH "Wine's loader for 64-bit programs")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(WINE_BUILD win32)
  set(WINE_LOADER ${WINE32_LOADER})
else()
  set(WINE_BUILD win64)
  set(WINE_LOADER ${WINE64_LOADER})
endif()
set(WINE_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "The Wine prefix the tests run in")
set(WINE_SESSION_DIR ${CMAKE_BINARY_DIR}/wine-state)
# Exit status of a test that could not run here: the session found that this
# machine cannot start the build's programs.
set(WINE_SKIP_CODE 77)

configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-env.sh.in ${CMAKE_BINARY_DIR}/wine-env.sh @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-session.sh.in ${CMAKE_BINARY_DIR}/wine-session
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run-fresh.sh.in ${CMAKE_BINARY_DIR}/wine-run-fresh
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)

# Every test that starts a Windows program asks for this fixture.
function(add_wine_session_fixture)
  add_test(NAME wine_session_start.${WINE_BUILD} COMMAND ${CMAKE_BINARY_DIR}/wine-session start)
  add_test(NAME wine_session_stop.${WINE_BUILD} COMMAND ${CMAKE_BINARY_DIR}/wine-session stop)
  set_tests_properties(wine_session_start.${WINE_BUILD} PROPERTIES
    FIXTURES_SETUP wine TIMEOUT 300 SKIP_RETURN_CODE ${WINE_SKIP_CODE})
  set_tests_properties(wine_session_stop.${WINE_BUILD} PROPERTIES
    FIXTURES_CLEANUP wine SKIP_RETURN_CODE ${WINE_SKIP_CODE})
endfunction()

# add_wine_test(NAME COMMAND...): a test under Wine, named for the build it
# runs against (e2e_sepria.win32), skipped where that build cannot run. The
# tests share one display, one prefix (its settings key too) and one
# foreground window, so they run one at a time, even under ctest -j.
function(add_wine_test name)
  add_test(NAME ${name}.${WINE_BUILD} ${ARGN})
  set_tests_properties(${name}.${WINE_BUILD} PROPERTIES
    FIXTURES_REQUIRED wine TIMEOUT 600 SKIP_RETURN_CODE ${WINE_SKIP_CODE} RESOURCE_LOCK wine_desktop)
endfunction()
