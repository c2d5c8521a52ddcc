# add_layer_library(NAME SOURCES... [LAYERS libs...] [LIBRARIES libs...]):
# the static library of one layer or program logic, linking the layers it
# builds on (LAYERS) and other libraries (LIBRARIES). The native build also
# makes NAME_checked: the same sources under AddressSanitizer and UBSan, on
# the _checked layers below it, for the unit tests. The sanitizers see into
# code only where it is built with them, and what ships is built without.
# Where no checked variant exists (the Windows builds), unit tests link the
# plain library: ${NAME}${CHECKED} names the one to link either way. So do
# they in astrelle's package build (ASTRELLE_ONLY): the sanitizers are not
# on every architecture the package builds for.
if(NOT WIN32 AND NOT FUZZING AND NOT ASTRELLE_ONLY)
  set(CHECKED _checked)
  set(SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
endif()

function(add_layer_library name)
  cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "LAYERS;LIBRARIES")
  add_library(${name} STATIC ${layer_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PUBLIC ${layer_LAYERS} ${layer_LIBRARIES})
  if(CHECKED)
    add_library(${name}${CHECKED} STATIC ${layer_UNPARSED_ARGUMENTS})
    list(TRANSFORM layer_LAYERS APPEND ${CHECKED})
    target_link_libraries(${name}${CHECKED} PUBLIC ${layer_LAYERS} ${layer_LIBRARIES})
    target_compile_options(${name}${CHECKED} PRIVATE ${SANITIZERS})
  endif()
endfunction()
