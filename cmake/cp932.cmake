# The Shift-JIS tables (data/cp932_table.h) are generated at build time from the C library's
# CP932 converter by a small program built with the build machine's own C++ compiler, so that
# a cross build (the web one, whose C library has no CP932) gets the very same tables.
find_program(KIV_HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(KIV_CP932_GEN_SOURCE ${CMAKE_SOURCE_DIR}/src/data/gen/cp932_table_gen.cpp)
set(KIV_CP932_GEN ${CMAKE_BINARY_DIR}/generated/cp932_table_gen)
set(KIV_CP932_TABLE ${CMAKE_BINARY_DIR}/generated/data/cp932_table.cpp)
add_custom_command(OUTPUT ${KIV_CP932_TABLE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated/data
  COMMAND ${KIV_HOST_CXX} -std=c++17 -O1 -I${CMAKE_SOURCE_DIR}/src -o ${KIV_CP932_GEN} ${KIV_CP932_GEN_SOURCE}
  COMMAND ${KIV_CP932_GEN} ${KIV_CP932_TABLE}
  DEPENDS ${KIV_CP932_GEN_SOURCE} ${CMAKE_SOURCE_DIR}/src/data/utf8.h
  COMMENT "Generating the CP932 tables from the C library's converter"
  VERBATIM)

function(kiv_add_cp932_table target)
  target_sources(${target} PRIVATE ${KIV_CP932_TABLE})
endfunction()
