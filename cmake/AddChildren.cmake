# Adds every child folder that has a CMakeLists.txt, so that a module can put
# its tests or benchmarks in a folder of its own without editing a shared list.
# Folders named as arguments are left out (the caller adds them itself).
function(add_child_directories)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    get_filename_component(name ${child} NAME)
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt AND NOT name IN_LIST ARGN)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
