# The screenshots of the AppStream metadata, made at build time: the demo played headless by
# the scripts of packaging/screenshots/, each screenshot (a BMP) turned into a PNG by optipng.
find_program(KIV_OPTIPNG optipng REQUIRED)
set(KIV_SCREENSHOT_NAMES title-menu stage)
set(KIV_SCREENSHOT_DIR ${CMAKE_BINARY_DIR}/screenshots)
set(KIV_SCREENSHOT_FILES)
set(kiv_screenshot_scripts)
foreach(name ${KIV_SCREENSHOT_NAMES})
  list(APPEND KIV_SCREENSHOT_FILES ${KIV_SCREENSHOT_DIR}/${name}.png)
  list(APPEND kiv_screenshot_scripts ${CMAKE_SOURCE_DIR}/packaging/screenshots/${name}.script)
endforeach()
add_custom_command(OUTPUT ${KIV_SCREENSHOT_FILES}
  COMMAND ${CMAKE_COMMAND} -DKIV=$<TARGET_FILE:kiv> -DGAME=${KIV_GAME_DIR}
          -DSCRIPTS=${CMAKE_SOURCE_DIR}/packaging/screenshots -DOUT=${KIV_SCREENSHOT_DIR}
          -DOPTIPNG=${KIV_OPTIPNG} "-DNAMES=${KIV_SCREENSHOT_NAMES}"
          -P ${CMAKE_CURRENT_LIST_DIR}/make_screenshots.cmake
  DEPENDS kiv kiv_demo_game ${CMAKE_BINARY_DIR}/content/demo_game.stamp ${kiv_screenshot_scripts}
          ${CMAKE_CURRENT_LIST_DIR}/make_screenshots.cmake
  COMMENT "Playing the demo headless for the screenshots"
  VERBATIM)
add_custom_target(kiv_screenshots ALL DEPENDS ${KIV_SCREENSHOT_FILES})
