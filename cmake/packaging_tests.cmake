# Tests of what the packages carry besides the program: the manual page beside --help, and
# debian/control's build dependencies beside build.sh's packages.
add_test(NAME manpage_flags COMMAND ${CMAKE_SOURCE_DIR}/tests/manpage_test.sh $<TARGET_FILE:kiv>
  ${CMAKE_SOURCE_DIR}/packaging/kiv.6)
add_test(NAME package_build_deps COMMAND ${CMAKE_SOURCE_DIR}/tests/package_deps_test.sh ${CMAKE_SOURCE_DIR})
