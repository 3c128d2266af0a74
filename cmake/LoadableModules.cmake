# In-process servers: modules that programs load by class id and unload
# again once unused.

# An unoptimised build binds inline constants (interface ids, the standard
# library's customisation points) through GNU-unique symbols, and the loader
# never unloads a module that exports one.  Code that goes into a module,
# the COM and registry layers included, is built without them: each module
# keeps its own copy of such constants, which are compared by value anyway.
add_library(module_code INTERFACE)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(module_code INTERFACE -fno-gnu-unique)
endif()

# Modules link with --no-undefined, so that a missing symbol fails the link
# rather than the load.  Instrumented code may instead take its runtime from
# the program that loads it (clang links the runtime into programs only).
set(EDDYRA_MODULE_NO_UNDEFINED -Wl,--no-undefined)
if(EDDYRA_FUZZ OR (EDDYRA_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang"))
  set(EDDYRA_MODULE_NO_UNDEFINED)
endif()

# Registers a module after each build so that programs find it by class id.
# The registry is the one COMREGISTRY_DIR names at build time, else at
# configure time, else the build folder's own: a build never changes what
# the user's programs load.  A failed registration only warns.
set(EDDYRA_BUILD_REGISTRY "$ENV{COMREGISTRY_DIR}")
if(NOT EDDYRA_BUILD_REGISTRY)
  set(EDDYRA_BUILD_REGISTRY ${CMAKE_BINARY_DIR}/comregistry)
endif()
function(eddyra_register_module target)
  if(NOT TARGET comreg)
    message(STATUS "comreg is not built yet: ${target} will not be registered by the build")
    return()
  endif()
  add_dependencies(${target} comreg)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND sh -c "COMREGISTRY_DIR=\"\${COMREGISTRY_DIR:-$1}\" \"$2\" \"$3\" || echo \"warning: registration of $4 failed\" >&2"
      sh ${EDDYRA_BUILD_REGISTRY} $<TARGET_FILE:comreg> $<TARGET_FILE:${target}> ${target}
    VERBATIM)
endfunction()

# An in-process server built from sources, exporting only the symbols its
# version script names: every other symbol, the linked layers' included,
# stays inside the module.  Registered after each build.
function(eddyra_add_module target version_script)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${version_script})
  target_link_options(${target} PRIVATE -Wl,--version-script=${version_script} ${EDDYRA_MODULE_NO_UNDEFINED})
  eddyra_register_module(${target})
endfunction()
