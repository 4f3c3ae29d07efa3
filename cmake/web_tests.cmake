# The web build's tests, on what ./build.sh web made in KIV_WEB_BUILD_DIR (build-web/): CI runs
# ./build.sh web before ./build.sh test. A test whose tools or web build are missing reports
# itself skipped (status 77).
set(KIV_WEB_BUILD_DIR ${CMAKE_SOURCE_DIR}/build-web CACHE PATH "Where ./build.sh web builds")
find_program(KIV_SYSTEM_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)

# The demo's site in headless Chromium, as a player plays it (Debian's Python: selenium).
add_test(NAME web_browser COMMAND ${KIV_SYSTEM_PYTHON} ${CMAKE_SOURCE_DIR}/tests/web/browser_test.py
         ${KIV_WEB_BUILD_DIR}/site)
set_tests_properties(web_browser PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RUN_SERIAL TRUE)

# The engine under node against the desktop program: every kept random player's script, whole
# challenge runs and other game folders must give the same trace, screenshots and Kiv.ini. The
# desktop side is this build's own program (with the sanitizers), so that both are built from
# the same source and the run is checked for memory faults too; build/game/kiv is only there when
# someone built it.
add_test(NAME web_node_parity COMMAND ${KIV_SYSTEM_PYTHON} ${CMAKE_SOURCE_DIR}/tests/web/node_parity_test.py
         ${CMAKE_SOURCE_DIR} $<TARGET_FILE:kiv> ${KIV_WEB_BUILD_DIR}/engine/kiv_node.js)
set_tests_properties(web_node_parity PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 PROCESSORS 2)

# A whole challenge run played in the page from a headless script, held to the desktop's trace
# and records (this build's program plays the script natively).
add_test(NAME web_browser_replay COMMAND ${KIV_SYSTEM_PYTHON} ${CMAKE_SOURCE_DIR}/tests/web/browser_replay_test.py
         ${KIV_WEB_BUILD_DIR}/site $<TARGET_FILE:kiv>)
set_tests_properties(web_browser_replay PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RUN_SERIAL TRUE)

# The packer on a game folder other than the demo: every file as it is, every MIDI file rendered
# whatever its name, the font cut down to the game's characters (no engine needed).
add_test(NAME web_pack COMMAND ${KIV_SYSTEM_PYTHON} ${CMAKE_SOURCE_DIR}/tests/web/pack_test.py ${KIV_GAME_DIR})
set_tests_properties(web_pack PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
