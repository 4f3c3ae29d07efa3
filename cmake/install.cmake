# Installing the game: cmake --install build --prefix P puts the program in P/bin, the demo
# game in P/share/kiv/demo (the program plays it when no Kiv.txt lies beside it), a desktop
# entry and an icon; cpack -G DEB in the build folder makes a Debian package of the same.
include(GNUInstallDirs)

install(TARGETS kiv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${KIV_GAME_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kiv/demo
  PATTERN "kiv" EXCLUDE
  PATTERN "Kiv.ini" EXCLUDE
  PATTERN "*.tmp" EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kiv.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/kiv.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)

set(CPACK_PACKAGE_NAME kiv)
if(PROJECT_VERSION)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
else()
  set(CPACK_PACKAGE_VERSION 0.1.0)
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Picture-erasing game with a bundled demo")
set(CPACK_PACKAGE_CONTACT "Kiv developers <kiv@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont | fluid-soundfont-gm, fonts-ipafont-gothic")
include(CPack)
