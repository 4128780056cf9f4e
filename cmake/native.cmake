# Native build: the portable core, its GoogleTest suite and the fuzzers.
find_package(ZLIB REQUIRED)
find_package(GTest REQUIRED)
include(GoogleTest)

if(VH_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

add_library(vh_core STATIC ${VH_CORE_SOURCES})
target_include_directories(vh_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(vh_core PRIVATE ${VH_WARNINGS})
target_link_libraries(vh_core PUBLIC ZLIB::ZLIB)

add_library(vh_test_platform STATIC ${VH_TEST_PLATFORM_SOURCES})
target_compile_options(vh_test_platform PRIVATE ${VH_WARNINGS})
target_link_libraries(vh_test_platform PUBLIC vh_core)

file(GLOB VH_NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(vh_native_tests ${VH_NATIVE_TEST_SOURCES})
target_compile_options(vh_native_tests PRIVATE ${VH_WARNINGS})
target_link_libraries(vh_native_tests PRIVATE vh_test_platform vh_core GTest::gtest GTest::gtest_main GTest::gmock)
gtest_discover_tests(vh_native_tests DISCOVERY_TIMEOUT 60)

# Portable tools the tests use (a theme file maker and the like); they stand
# on what the tests stand on (tests/support: the theme file writer).
file(GLOB VH_TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*_tool.cpp)
list(FILTER VH_TOOL_SOURCES EXCLUDE REGEX "_win_tool\\.cpp$")
foreach(src ${VH_TOOL_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE vh_test_platform vh_core)
endforeach()

if(VH_FUZZ)
  # The core is what the fuzzers exercise: give it coverage and the
  # sanitizers too; everything that links it then needs the sanitizer runtimes.
  target_compile_options(vh_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(vh_core INTERFACE -fsanitize=address,undefined)
  file(GLOB VH_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(src ${VH_FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE vh_test_platform vh_core)
  endforeach()
endif()

# The artwork generator's own checks (names, sizes, transparency key, seams).
add_test(NAME art.generator COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/res/art/test_generate.py)

# The shipped language files are exactly what their source table makes.
add_test(NAME lang.files_match_their_source_table
         COMMAND sh -c "rm -rf lang-check && mkdir lang-check && /usr/bin/python3 ${CMAKE_SOURCE_DIR}/lang/make_language_files.py lang-check && diff -r -x '*.py' -x '*.md' -x '*.cpp' -x '*.h' ${CMAKE_SOURCE_DIR}/lang lang-check"
         WORKING_DIRECTORY ${CMAKE_BINARY_DIR})

# Code, scripts and tests say what they do, in their own words.
add_test(NAME tree.own_voice COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tree/own_voice_test.sh ${CMAKE_SOURCE_DIR})
add_test(NAME tree.layers COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tree/layers_test.sh ${CMAKE_SOURCE_DIR})
