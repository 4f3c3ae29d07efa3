# The web build's tests, on what ./build.sh web made in KIV_WEB_BUILD_DIR (build-web/): CI runs
# ./build.sh web before ./build.sh test. A test whose tools or web build are missing reports
# itself skipped (status 77).
set(KIV_WEB_BUILD_DIR ${CMAKE_SOURCE_DIR}/build-web CACHE PATH "Where ./build.sh web builds")
find_program(KIV_SYSTEM_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)

# The demo's site in headless Chromium, as a player plays it (Debian's Python: selenium).
add_test(NAME web_browser COMMAND ${KIV_SYSTEM_PYTHON} ${CMAKE_SOURCE_DIR}/tests/web/browser_test.py
         ${KIV_WEB_BUILD_DIR}/site)
set_tests_properties(web_browser PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RUN_SERIAL TRUE)
