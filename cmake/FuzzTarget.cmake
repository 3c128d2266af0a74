# Fuzz targets.  Each is one source with LLVMFuzzerTestOneInput.  The normal
# build gets <name>_replay, which CTest runs over the kept corpus as the
# test <module>.<Suite>Corpus; a clang build with EDDYRA_FUZZ=ON adds
# <name>_fuzzer, checked for memory faults and halting at the first
# undefined behaviour.
#
#   add_fuzz_target(<name> SUITE <Suite> SOURCE <file> CORPUS <folder>
#                   [LIBRARIES <target>...] [CHECKED <file>...])
#
# CHECKED sources (the code under test, when it needs nothing beyond
# LIBRARIES) are compiled into both programs; the replay then carries the
# memory checks too, so that a read past an input is caught in the normal
# build as well.
set(EDDYRA_FUZZ_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all)

function(add_fuzz_target name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "SUITE;SOURCE;CORPUS" "LIBRARIES;CHECKED")
  add_executable(${name}_replay ${CMAKE_SOURCE_DIR}/tests/fuzz/ReplayMain.cpp ${arg_SOURCE} ${arg_CHECKED})
  target_link_libraries(${name}_replay PRIVATE ${arg_LIBRARIES} project_warnings)
  if(arg_CHECKED)
    eddyra_check_memory(${name}_replay)
  endif()
  eddyra_add_test(${arg_SUITE}Corpus COMMAND ${name}_replay ${arg_CORPUS})

  if(EDDYRA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
      message(FATAL_ERROR "EDDYRA_FUZZ needs clang: configure with CXX=clang++")
    endif()
    add_executable(${name}_fuzzer ${arg_SOURCE} ${arg_CHECKED})
    target_link_libraries(${name}_fuzzer PRIVATE ${arg_LIBRARIES} project_warnings)
    target_compile_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer ${EDDYRA_FUZZ_FLAGS})
    target_link_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer ${EDDYRA_FUZZ_FLAGS})
  endif()
endfunction()

# A library that fuzzers link: with EDDYRA_FUZZ its code is instrumented for
# coverage and checked like the fuzzers, and whatever links it gets the
# checks' runtime.
function(fuzz_instrument target)
  if(EDDYRA_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link ${EDDYRA_FUZZ_FLAGS})
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# The sources of a library as full paths, for CHECKED.
function(fuzz_sources_of target out)
  get_target_property(sources ${target} SOURCES)
  get_target_property(folder ${target} SOURCE_DIR)
  list(TRANSFORM sources PREPEND ${folder}/)
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
