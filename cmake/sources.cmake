# The game's sources, one list for the desktop build (CMakeLists.txt) and the web build
# (cmake/web.cmake), so that a file added to a folder reaches both:
#   KIV_CORE_SOURCES   every subsystem over the platform seam, with the headless back end
#   KIV_SDL_SOURCES    the SDL back end
#   KIV_INI_SOURCES, KIV_FILES_SOURCES   the components with tests of their own
#   KIV_DESKTOP_ONLY, KIV_BROWSER_ONLY   patterns of the files only one of the two builds compiles
file(GLOB_RECURSE KIV_CORE_SOURCES CONFIGURE_DEPENDS
  src/data/*.cpp src/media/*.cpp src/records/*.cpp src/game/*.cpp src/scenes/*.cpp src/shell/*.cpp src/check/*.cpp
  src/maker/*.cpp)
# The generator of the Shift-JIS tables is a program of the build machine's (cmake/cp932.cmake).
list(FILTER KIV_CORE_SOURCES EXCLUDE REGEX "/src/data/gen/")
file(GLOB KIV_PLATFORM_SOURCES CONFIGURE_DEPENDS src/platform/*.cpp src/platform/headless/*.cpp)
list(APPEND KIV_CORE_SOURCES ${KIV_PLATFORM_SOURCES})
file(GLOB KIV_SDL_SOURCES CONFIGURE_DEPENDS src/platform/sdl/*.cpp)
set(KIV_INI_SOURCES ${CMAKE_SOURCE_DIR}/src/ini/ini_text.cpp)
set(KIV_FILES_SOURCES ${CMAKE_SOURCE_DIR}/src/files/folder.cpp ${CMAKE_SOURCE_DIR}/src/files/new_folder.cpp
  ${CMAKE_SOURCE_DIR}/src/files/paths.cpp)
# The desktop writes PNG pictures with libpng and plays MIDI with FluidSynth; the browser has
# neither, and plays the music itself.
set(KIV_DESKTOP_ONLY "/media/image_png\\.cpp$|/platform/sdl/midi_synth\\.cpp$")
set(KIV_BROWSER_ONLY "/media/image_png_absent\\.cpp$|/platform/sdl/browser_music\\.cpp$")
