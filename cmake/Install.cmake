# What `cmake --install` puts under the prefix, and the Debian package
# `cpack -G DEB` makes of it:
#
#   bin/                Eddyra, QuilletDemo, comreg (the registration tool)
#   lib/quillet/        the component's module, the sample attribute server
#                       and the window-message library both load
#   lib/libquilletcom.a the COM runtime an outside client links to create
#                       the component by class id
#   include/quillet/    the component's interfaces and the COM layer's headers
#   lib/cmake/Quillet/  find_package(Quillet); lib/pkgconfig/quillet.pc
#   share/eddyra/cg/    the fragment programs
#
# Every installed file finds the others relative to its own place (run
# paths from $ORIGIN, the program's data from its folder, the package files
# from theirs), so an installed tree may be moved or staged.  Targets are
# named here rather than where they are defined: the tree's folders stay
# free of install rules.
include(CMakePackageConfigHelpers)

set(EDDYRA_INSTALL_MODULEDIR ${CMAKE_INSTALL_LIBDIR}/quillet)
set(EDDYRA_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/quillet)
set(EDDYRA_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quillet)

# ---- The program, the component, the tool and the sample servers ---------
# The modules find the message library beside them; the programs need none
# of the project's shared libraries.
set(modules Quillet)
if(TARGET QuilletAttributes)
  list(APPEND modules QuilletAttributes)
endif()
set_target_properties(${modules} platform_messages PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS ${modules} platform_messages LIBRARY DESTINATION ${EDDYRA_INSTALL_MODULEDIR})
set(programs Eddyra)
if(TARGET QuilletDemo)
  list(APPEND programs QuilletDemo)
endif()
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${EDDYRA_CG_DIR}/ DESTINATION ${EDDYRA_INSTALL_DATADIR}/cg)

# ---- What an outside client builds against ---------------------------------
# The interfaces are header-only; creating the component by class id takes
# the COM layer and the registry it reads, built once more as one library of
# their own so that the tree's libraries keep their build-only settings.
add_library(quillet_headers INTERFACE)
target_include_directories(quillet_headers INTERFACE
  $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}> $<INSTALL_INTERFACE:${EDDYRA_INSTALL_INCLUDEDIR}>)
set_target_properties(quillet_headers PROPERTIES EXPORT_NAME headers)

fuzz_sources_of(platform_com com_sources)
fuzz_sources_of(platform_registry registry_sources)
fuzz_sources_of(platform_files files_sources)
add_library(quillet_comruntime STATIC ${com_sources} ${registry_sources} ${files_sources})
target_link_libraries(quillet_comruntime
  PUBLIC quillet_headers ${CMAKE_DL_LIBS}
  PRIVATE $<BUILD_INTERFACE:project_warnings> $<BUILD_INTERFACE:module_code>)
set_target_properties(quillet_comruntime PROPERTIES OUTPUT_NAME quilletcom EXPORT_NAME comruntime)

install(TARGETS quillet_headers quillet_comruntime comreg EXPORT QuilletTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set_target_properties(comreg PROPERTIES EXPORT_NAME comreg)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/storage/api DESTINATION ${EDDYRA_INSTALL_INCLUDEDIR}/storage
  FILES_MATCHING PATTERN "*.h")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/platform/com DESTINATION ${EDDYRA_INSTALL_INCLUDEDIR}/platform
  FILES_MATCHING PATTERN "*.h")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/platform/registry DESTINATION ${EDDYRA_INSTALL_INCLUDEDIR}/platform
  FILES_MATCHING PATTERN "*.h" PATTERN "RegistryPaths.h" EXCLUDE)

install(EXPORT QuilletTargets NAMESPACE Quillet:: DESTINATION ${EDDYRA_INSTALL_CMAKEDIR})
set(QUILLET_MODULE ${EDDYRA_INSTALL_MODULEDIR}/libQuillet.so)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QuilletConfig.cmake.in
  ${CMAKE_BINARY_DIR}/QuilletConfig.cmake
  INSTALL_DESTINATION ${EDDYRA_INSTALL_CMAKEDIR}
  PATH_VARS QUILLET_MODULE)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/QuilletConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/QuilletConfig.cmake ${CMAKE_BINARY_DIR}/QuilletConfigVersion.cmake
  DESTINATION ${EDDYRA_INSTALL_CMAKEDIR})

# pkg-config: the prefix is taken from where the file lies.
file(RELATIVE_PATH QUILLET_PC_TO_PREFIX
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" QUILLET_PC_TO_PREFIX "${QUILLET_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/quillet.pc.in ${CMAKE_BINARY_DIR}/quillet.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/quillet.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# ---- Registration ---------------------------------------------------------
# An install onto this machine registers the installed servers, so that the
# installed program finds its component from any folder: in the registry
# COMREGISTRY_DIR names, else for every user when installing as root, else
# in the user's own.  A staged install (DESTDIR, as packaging makes) leaves
# that to the package's installation step.
configure_file(${CMAKE_CURRENT_LIST_DIR}/RegisterInstalledModules.cmake.in
  ${CMAKE_BINARY_DIR}/RegisterInstalledModules.cmake @ONLY)
install(SCRIPT ${CMAKE_BINARY_DIR}/RegisterInstalledModules.cmake)

# ---- Debian package ----------------------------------------------------------
set(CPACK_PACKAGE_NAME eddyra)
set(CPACK_PACKAGE_VENDOR "Eddyra developers")
set(CPACK_PACKAGE_CONTACT "Eddyra developers <eddyra@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "interactive 2-D lattice-Boltzmann flow simulator, and the Quillet variable storage component")
set(CPACK_PACKAGE_DESCRIPTION
  "Eddyra simulates a 2-D flow around obstacles on the CPU or the GPU.  Quillet holds named, typed,
tunable variables for client programs behind a COM-style binary interface, with a Variables editor;
this package also holds its headers, the COM runtime library and the CMake and pkg-config files.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Found by the library dependencies, and besides them the GL libraries that
# libepoxy opens at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libegl1, libgl1")
# The modules' own library is found in the build, not among the system's.
get_target_property(messages_dir platform_messages BINARY_DIR)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${messages_dir})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The installation step registers the servers for every user; removal
# unregisters them first.
set(EDDYRA_PACKAGE_BINDIR ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR})
set(EDDYRA_PACKAGE_MODULEDIR ${CPACK_PACKAGING_INSTALL_PREFIX}/${EDDYRA_INSTALL_MODULEDIR})
list(TRANSFORM modules PREPEND lib OUTPUT_VARIABLE EDDYRA_PACKAGE_MODULES)
list(TRANSFORM EDDYRA_PACKAGE_MODULES APPEND .so)
list(JOIN EDDYRA_PACKAGE_MODULES " " EDDYRA_PACKAGE_MODULES)
foreach(script postinst prerm)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/package/${script}.in ${CMAKE_BINARY_DIR}/package/${script} @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/package/postinst ${CMAKE_BINARY_DIR}/package/prerm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
