# What the Wayland host builds on: the client library, the bridge from a
# wl_surface to EGL, EGL itself, GL without GLX, and the protocols beyond
# the core one, as code that wayland-scanner makes at build time.
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
pkg_check_modules(WAYLAND_EGL REQUIRED IMPORTED_TARGET wayland-egl)
pkg_check_modules(EGL REQUIRED IMPORTED_TARGET egl)
pkg_check_modules(OPENGL REQUIRED IMPORTED_TARGET opengl)
pkg_check_modules(WAYLAND_SCANNER REQUIRED wayland-scanner)
pkg_get_variable(WAYLAND_SCANNER wayland-scanner wayland_scanner)
pkg_check_modules(WAYLAND_PROTOCOLS REQUIRED wayland-protocols)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
set(XDG_SHELL_XML ${WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml)

# add_wayland_protocol(TARGET name XML path [LINK targets...]): a static
# library of the protocol's interfaces, whose users include
# <stem>-client-protocol.h (stem: the XML's name without .xml). LINK names
# the protocols whose interfaces this one's messages carry.
function(add_wayland_protocol)
  cmake_parse_arguments(PARSE_ARGV 0 protocol "" "TARGET;XML" "LINK")
  if(NOT protocol_TARGET OR NOT protocol_XML)
    message(FATAL_ERROR "add_wayland_protocol needs TARGET and XML")
  endif()
  get_filename_component(stem ${protocol_XML} NAME_WLE)
  get_filename_component(xml ${protocol_XML} ABSOLUTE)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/wayland/${protocol_TARGET})
  set(header ${folder}/${stem}-client-protocol.h)
  set(code ${folder}/${stem}-protocol.c)
  add_custom_command(OUTPUT ${header} ${code}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${WAYLAND_SCANNER} --strict client-header ${xml} ${header}
    COMMAND ${WAYLAND_SCANNER} --strict private-code ${xml} ${code}
    DEPENDS ${xml}
    COMMENT "Generating the ${stem} protocol's code"
    VERBATIM)
  add_library(${protocol_TARGET} STATIC ${code} ${header})
  target_include_directories(${protocol_TARGET} PUBLIC ${folder})
  target_link_libraries(${protocol_TARGET} PUBLIC PkgConfig::WAYLAND_CLIENT ${protocol_LINK})
endfunction()
