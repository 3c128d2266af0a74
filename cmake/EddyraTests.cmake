# Names and environment of every test.
#
# A test is named <module>.<Suite>.<Case>, the module being the folder under
# tests/ that holds it: GoogleTest cases are discovered one by one with their
# own suite and case names; a Qt Test program or a script is one test,
# <module>.<Suite>.  `ctest -R '^storage\.'` runs one module.
#
# Every test runs with COMREGISTRY_DIR pointing at the build folder's
# registry, so that a test that forgets to make a registry of its own still
# never touches the user's.  In a sanitizer build the leak checker skips the
# leaks listed in tests/lsan.supp, all of them in third-party libraries.
include(GoogleTest)

set(EDDYRA_TEST_ENVIRONMENT "COMREGISTRY_DIR=${EDDYRA_BUILD_REGISTRY}")
if(EDDYRA_SANITIZE)
  list(APPEND EDDYRA_TEST_ENVIRONMENT
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1")
endif()

# Presenting frames through GLX makes Mesa's software driver leak a few bytes
# and unload itself before the leak check runs, so no suppression can name
# it: the tests that do so run without the leak check (the rest of the
# address and undefined-behaviour checks still apply to them).
set(EDDYRA_GLX_PRESENT_ENVIRONMENT)
if("address" IN_LIST EDDYRA_SANITIZE)
  set(EDDYRA_GLX_PRESENT_ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endif()

function(eddyra_test_module out)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REGEX REPLACE "/.*" "" module "${folder}")
  set(${out} ${module} PARENT_SCOPE)
endfunction()

# eddyra_discover_tests(<target> [ENVIRONMENT var=value...] [options of gtest_discover_tests...])
function(eddyra_discover_tests target)
  cmake_parse_arguments(arg "" "" "ENVIRONMENT" ${ARGN})
  eddyra_test_module(module)
  gtest_discover_tests(${target} TEST_PREFIX "${module}." TEST_LIST ${target}_TESTS ${arg_UNPARSED_ARGUMENTS})
  # The discovered tests exist only once CTest has read the list, and a list
  # valued property does not survive gtest_discover_tests: a script read
  # after the list sets the environment.
  set(environment ${EDDYRA_TEST_ENVIRONMENT} ${arg_ENVIRONMENT})
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_environment.cmake)
  file(WRITE ${script}
    "if(${target}_TESTS)\n"
    "  set_tests_properties(\${${target}_TESTS} PROPERTIES ENVIRONMENT [==[${environment}]==])\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()

# eddyra_add_test(<Suite> COMMAND <command...> [ENVIRONMENT var=value...] [TIMEOUT seconds])
function(eddyra_add_test suite)
  cmake_parse_arguments(arg "" "TIMEOUT" "COMMAND;ENVIRONMENT" ${ARGN})
  eddyra_test_module(module)
  set(name ${module}.${suite})
  add_test(NAME ${name} COMMAND ${arg_COMMAND})
  set(environment ${EDDYRA_TEST_ENVIRONMENT} ${arg_ENVIRONMENT})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
  if(arg_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${arg_TIMEOUT})
  endif()
endfunction()

# A Qt Test program spends about half its compile time in Qt's headers: all
# of them share one precompiled header, built once (tests/support).
function(eddyra_use_qt_test_pch target)
  target_precompile_headers(${target} REUSE_FROM qt_test_pch)
endfunction()
