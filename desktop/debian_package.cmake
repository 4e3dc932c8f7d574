# The Debian package of the two programs and the bus simulator, made by CPack
# from what "cmake --install" installs: bash scripts/package.sh.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${ZELTA_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZELTA developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service tools for battery-monitoring modules on a serial bus")
# Lines of the long description as Debian wants them: under 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "ZELTA_Reader reads and monitors a string of battery-monitoring modules on"
  "one serial bus: voltage, temperature, impedance, revisions and module type,"
  "by module or by scanning up to 340 addresses, with CSV logging."
  "ZELTA_Programmer gives new modules their bus addresses, finds modules, checks"
  "the wiring and shows a module's values. zelta_bus_sim simulates a string of"
  "modules on a pseudo-terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZELTA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies are read off the programs (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
