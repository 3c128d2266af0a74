# EDDYRA_SANITIZE instruments the whole tree, the component's module and the
# sample servers included, so that a fault is caught wherever it happens.
# Like every build it registers its modules in its own build folder's
# registry unless COMREGISTRY_DIR says otherwise (LoadableModules.cmake): a
# program built without the runtime must never be pointed at them.
set(sanitizers ${EDDYRA_SANITIZE})
foreach(sanitizer IN LISTS sanitizers)
  if(NOT sanitizer MATCHES "^(address|undefined|thread)$")
    message(FATAL_ERROR "EDDYRA_SANITIZE: unknown sanitizer \"${sanitizer}\" (use address;undefined, or thread)")
  endif()
endforeach()
if("thread" IN_LIST sanitizers AND "address" IN_LIST sanitizers)
  message(FATAL_ERROR "EDDYRA_SANITIZE: thread cannot be combined with address")
endif()
if(sanitizers AND EDDYRA_FUZZ)
  message(FATAL_ERROR "EDDYRA_FUZZ brings its own instrumentation: leave EDDYRA_SANITIZE empty")
endif()

if(sanitizers)
  list(JOIN sanitizers "," joined)
  # A report must fail the test that caused it, not scroll past.
  add_compile_options(-fsanitize=${joined} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${joined})
endif()

# Targets that are always compiled with the memory checks (the parsers'
# replays and the value store's tests) take them through this function; a
# thread-sanitizer build cannot have them and builds those targets plain.
function(eddyra_check_memory target)
  if("thread" IN_LIST EDDYRA_SANITIZE)
    return()
  endif()
  target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all)
  target_link_options(${target} PRIVATE -fsanitize=address,undefined)
endfunction()
