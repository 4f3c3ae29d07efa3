# The web build, with emscripten (./build.sh web configures it with emcmake):
#   kiv       the engine for the browser (kiv.js + kiv.wasm), the same for every game; web/pack.py
#             puts it beside a game's files and web/index.html
#   kiv_node  the same engine for node, with a game folder packed into it (KIV_WEB_GAME_DIR, at
#             /game/), for headless runs with the desktop's command line
# The libraries are static builds from Debian's sources, made by web/deps.sh into
# KIV_WEB_PREFIX. There are no threads (a plain static web server cannot give wasm threads the
# cross-origin isolation they need), no fontconfig (the font comes with the site) and no
# FluidSynth (the music comes pre-rendered as OGG Vorbis).

set(KIV_WEB_PREFIX "" CACHE PATH "The install prefix of web/deps.sh")
set(KIV_WEB_GAME_DIR "" CACHE PATH "The game folder packed into kiv_node (the native build's demo)")
if(NOT KIV_WEB_PREFIX)
  message(FATAL_ERROR "KIV_WEB_PREFIX is not set: configure the web build through ./build.sh web")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${KIV_WEB_PREFIX})
list(APPEND CMAKE_PREFIX_PATH ${KIV_WEB_PREFIX})
# Ours, not the configs of emscripten's own SDL2 port (whose flags would download it).
foreach(pkg SDL2 SDL2_mixer SDL2_ttf freetype)
  set(${pkg}_DIR ${KIV_WEB_PREFIX}/lib/cmake/${pkg} CACHE PATH "" FORCE)
endforeach()

find_package(SDL2 CONFIG REQUIRED)
find_package(SDL2_mixer CONFIG REQUIRED)
find_package(SDL2_ttf CONFIG REQUIRED)
find_package(JPEG REQUIRED)
# The static libraries' own names; the code links the names of the shared ones.
foreach(lib SDL2::SDL2 SDL2_mixer::SDL2_mixer SDL2_ttf::SDL2_ttf)
  if(NOT TARGET ${lib})
    add_library(${lib} ALIAS ${lib}-static)
  endif()
endforeach()

# C++ exceptions are on (the game catches them); the rest of the flags are emscripten's for
# both the compile and the link.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# The game, the components and the SDL back end in one library (cmake/sources.cmake), without
# libpng (the stage pictures of --check --render are the desktop's) and without the MIDI
# synthesizer (the music comes as OGG Vorbis).
set(KIV_WEB_SOURCES ${KIV_CORE_SOURCES} ${KIV_SDL_SOURCES} ${KIV_INI_SOURCES} ${KIV_FILES_SOURCES})
list(FILTER KIV_WEB_SOURCES EXCLUDE REGEX "${KIV_DESKTOP_ONLY}")
add_library(kivweb STATIC ${KIV_WEB_SOURCES})
configure_file(src/shell/version.h.in ${CMAKE_BINARY_DIR}/generated/shell/version.h @ONLY)
# Nothing is installed in the browser; the desktop's own layout keeps the code the same.
set(KIV_DEMO_FROM_PROGRAM_DIR ../share/kiv/demo)
configure_file(src/data/install_layout.h.in ${CMAKE_BINARY_DIR}/generated/data/install_layout.h @ONLY)
target_include_directories(kivweb PUBLIC src ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(kivweb PUBLIC SDL2::SDL2 SDL2_mixer::SDL2_mixer SDL2_ttf::SDL2_ttf JPEG::JPEG)
include(cmake/cp932.cmake)
kiv_add_cp932_table(kivweb)

# The link options that CMake would mangle (it doubles '$') go in response files.
set(KIV_WEB_LINK_RSP ${CMAKE_BINARY_DIR}/web-link.rsp)
file(WRITE ${KIV_WEB_LINK_RSP}
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=[$autoResumeAudioContext,$dynCall]\n"
  "-sEXPORTED_RUNTIME_METHODS=[FS,addRunDependency,removeRunDependency]\n"
  "-sASYNCIFY_IMPORTS=[kiv_mount_indexeddb]\n")

# The browser's engine. ASYNCIFY lets the frame clock's wait hand the browser its turn while the
# game's loop stays the desktop's (see docs/web.md).
add_executable(kiv src/main.cpp src/platform/web/browser_records.cpp)
target_compile_definitions(kiv PRIVATE KIV_BROWSER)
target_link_libraries(kiv PRIVATE kivweb)
target_link_options(kiv PRIVATE
  "@${KIV_WEB_LINK_RSP}" -Oz -sENVIRONMENT=web -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=33554432 -sTOTAL_STACK=1048576 -sFORCE_FILESYSTEM=1 -sEXIT_RUNTIME=1 -lidbfs.js
  "--js-library=${CMAKE_SOURCE_DIR}/web/fd_sync.js")
set_target_properties(kiv PROPERTIES SUFFIX ".js" LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/fd_sync.js)

# The node runner: the same engine and a game folder in its own memory file system, with the
# desktop's font whole (a site gets it cut down to its game's characters; the runner plays any
# game folder), where the page puts a site's.
if(KIV_WEB_GAME_DIR)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  execute_process(COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/web/pack.py --which-font
                  OUTPUT_VARIABLE KIV_WEB_FONT OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE font_found)
  if(NOT font_found EQUAL 0)
    message(FATAL_ERROR "no font for the node runner (fonts-ipafont-gothic)")
  endif()
  add_executable(kiv_node src/main.cpp)
  target_link_libraries(kiv_node PRIVATE kivweb)
  target_link_options(kiv_node PRIVATE
    "@${KIV_WEB_LINK_RSP}" -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
    -sTOTAL_STACK=1048576 -sFORCE_FILESYSTEM=1 -sEXIT_RUNTIME=1 -sNODEJS_CATCH_EXIT=0 -lnodefs.js
    "--pre-js=${CMAKE_SOURCE_DIR}/web/node_pre.js" "--embed-file=${KIV_WEB_GAME_DIR}@/game"
    "--embed-file=${KIV_WEB_FONT}@/kiv-web/font.ttf"
    "--exclude-file=*/kiv" "--exclude-file=*/Kiv.ini")
  set_target_properties(kiv_node PROPERTIES SUFFIX ".js")
endif()
