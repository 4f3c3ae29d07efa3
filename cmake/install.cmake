# Installing the game, in one of two layouts:
#   a user's own install (the default): cmake --install build --prefix P puts the program in
#     P/bin/kiv and the demo game in P/share/kiv/demo/ (P is ~/.local, or /usr/local);
#   a system package (-DKIV_GAMES_LAYOUT=ON, as debian/rules builds it): the program in
#     P/games/kiv and the demo game in P/share/games/kiv/demo/, as Debian keeps its games.
# KIV_INSTALL_BINDIR and KIV_INSTALL_DATADIR (relative to the prefix, or absolute) set either
# place by hand. The program finds the demo from its own folder: the way from the one to the
# other is built into it, and the two layouts above are tried as well.
# Both layouts also install the desktop entry, the icons (several sizes and a scalable one), the
# manual page kiv.6 and the AppStream metadata; with KIV_SCREENSHOTS=ON, the screenshots too.
include(GNUInstallDirs)

option(KIV_GAMES_LAYOUT "Install as a system package of a game: games/kiv and share/games/kiv/demo" OFF)
option(KIV_SCREENSHOTS "Make the screenshots of the AppStream metadata from the demo (needs optipng)" OFF)
set(KIV_SCREENSHOT_URL "https://kiv.example.org/screenshots" CACHE STRING
  "Where the screenshots are published; the AppStream metadata names them there")

if(NOT KIV_INSTALL_BINDIR)
  if(KIV_GAMES_LAYOUT)
    set(KIV_INSTALL_BINDIR games)
  else()
    set(KIV_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
  endif()
endif()
if(NOT KIV_INSTALL_DATADIR)
  if(KIV_GAMES_LAYOUT)
    set(KIV_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/kiv)
  else()
    set(KIV_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/kiv)
  endif()
endif()

# The way from the program's folder to the demo's; the same under any prefix unless a folder
# was given as an absolute path.
foreach(dir BINDIR DATADIR)
  if(IS_ABSOLUTE "${KIV_INSTALL_${dir}}")
    set(kiv_full_${dir} "${KIV_INSTALL_${dir}}")
  else()
    set(kiv_full_${dir} "${CMAKE_INSTALL_PREFIX}/${KIV_INSTALL_${dir}}")
  endif()
endforeach()
file(RELATIVE_PATH KIV_DEMO_FROM_PROGRAM_DIR "${kiv_full_BINDIR}" "${kiv_full_DATADIR}/demo")
configure_file(${CMAKE_SOURCE_DIR}/src/data/install_layout.h.in ${CMAKE_BINARY_DIR}/generated/data/install_layout.h
  @ONLY)

install(TARGETS kiv RUNTIME DESTINATION ${KIV_INSTALL_BINDIR})
install(DIRECTORY ${KIV_GAME_DIR}/ DESTINATION ${KIV_INSTALL_DATADIR}/demo
  PATTERN "kiv" EXCLUDE
  PATTERN "Kiv.ini" EXCLUDE
  PATTERN "*.tmp" EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kiv.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# kiv_content draws the icons into build/icons/hicolor/ with the demo.
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kiv.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# AppStream: what software centres show of the game.
set(KIV_APPSTREAM_ID org.example.kiv)
set(KIV_METAINFO ${CMAKE_BINARY_DIR}/${KIV_APPSTREAM_ID}.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/packaging/${KIV_APPSTREAM_ID}.metainfo.xml.in ${KIV_METAINFO} @ONLY)
install(FILES ${KIV_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

if(KIV_SCREENSHOTS AND TARGET kiv_demo_game)
  include(${CMAKE_CURRENT_LIST_DIR}/screenshots.cmake)
  install(FILES ${KIV_SCREENSHOT_FILES} DESTINATION ${KIV_INSTALL_DATADIR}/screenshots)
endif()
