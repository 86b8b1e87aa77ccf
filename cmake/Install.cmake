# The shipped folder (the three programs with every data file beside them, as
# they run from build/bin) goes to lib/velistrom; launchers in bin, and a menu
# entry with its icon, so the desktop lists Velistrom.
include(GNUInstallDirs)

install(DIRECTORY ${VELISTROM_BIN_DIR}/ DESTINATION lib/velistrom USE_SOURCE_PERMISSIONS)
foreach(program Velistrom Postelle Spreadwell)
  string(TOLOWER ${program} launcher)
  install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(CREATE_LINK ../lib/velistrom/${program}
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${launcher}\" SYMBOLIC)")
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/data/velistrom.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VELISTROM_BIN_DIR}/velistrom.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)

# cpack -G DEB: a Debian package of the same install. The libraries' packages come
# from dpkg-shlibdeps; what the programs start or load by name is listed here.
set(CPACK_PACKAGE_NAME velistrom)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velistrom developers <velistrom@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Screen capture for the X11 desktop")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, xdg-utils, fonts-liberation2, fonts-crosextra-carlito, fonts-comic-neue")
include(CPack)
