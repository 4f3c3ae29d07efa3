# Tests of what the packages carry besides the program: the manual page beside --help.
add_test(NAME manpage_flags COMMAND ${CMAKE_SOURCE_DIR}/tests/manpage_test.sh $<TARGET_FILE:kiv>
  ${CMAKE_SOURCE_DIR}/packaging/kiv.6)
