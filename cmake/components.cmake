# Components that know nothing of the game, each a small library whose tests link it alone:
#   kivini    the INI line model: an INI text read and written as the profile functions do
#   kivfiles  files read and replaced durably in a folder held open, links followed, folders made
# kivcore links both.
add_library(kivini STATIC ${KIV_INI_SOURCES})
target_include_directories(kivini PUBLIC ${CMAKE_SOURCE_DIR}/src)
add_library(kivfiles STATIC ${KIV_FILES_SOURCES})
target_include_directories(kivfiles PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kivcore PUBLIC kivini kivfiles)

if(KIV_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB KIV_INI_TEST_SOURCES CONFIGURE_DEPENDS tests/ini/*.cpp)
  add_executable(kiv_ini_tests ${KIV_INI_TEST_SOURCES})
  target_link_libraries(kiv_ini_tests PRIVATE kivini GTest::gtest GTest::gtest_main)
  gtest_discover_tests(kiv_ini_tests DISCOVERY_TIMEOUT 60)
  file(GLOB KIV_FILES_TEST_SOURCES CONFIGURE_DEPENDS tests/files/*.cpp)
  add_executable(kiv_files_tests ${KIV_FILES_TEST_SOURCES})
  target_include_directories(kiv_files_tests PRIVATE tests/support)
  target_link_libraries(kiv_files_tests PRIVATE kivfiles GTest::gtest GTest::gtest_main)
  gtest_discover_tests(kiv_files_tests DISCOVERY_TIMEOUT 60)
endif()
