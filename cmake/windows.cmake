# Windows build: varnhold.exe (32-bit, GUI, static) and the Windows test
# executables, each registered as one ctest test run under Wine.
enable_language(RC)

set(VH_DEPS_DIR ${CMAKE_BINARY_DIR}/deps)
set(VH_JPEG_PREFIX ${VH_DEPS_DIR}/jpeg-mingw)
execute_process(
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-libjpeg.sh ${VH_DEPS_DIR}/jpeg-src
          ${VH_JPEG_PREFIX} ${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
  RESULT_VARIABLE jpeg_rc)
if(NOT jpeg_rc EQUAL 0)
  message(FATAL_ERROR "cross-building libjpeg-turbo failed; see ${VH_DEPS_DIR}/jpeg-src/*.log")
endif()
add_library(vh_jpeg STATIC IMPORTED)
set_target_properties(vh_jpeg PROPERTIES
  IMPORTED_LOCATION ${VH_JPEG_PREFIX}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${VH_JPEG_PREFIX}/include)

find_library(VH_ZLIB NAMES libz.a z REQUIRED)
find_path(VH_ZLIB_INCLUDE zlib.h REQUIRED)
add_library(vh_zlib STATIC IMPORTED)
set_target_properties(vh_zlib PROPERTIES
  IMPORTED_LOCATION ${VH_ZLIB}
  INTERFACE_INCLUDE_DIRECTORIES ${VH_ZLIB_INCLUDE})

# One self-contained executable: no libgcc or libstdc++ DLLs.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
# A lean image: Wine reads the whole of it into memory at start, and the
# program's time goes to the system's registry calls, not to its own code,
# so its code is optimised for size. Unreferenced functions and data are
# dropped at link time.
string(REPLACE "-O3" "-Os" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
string(REPLACE "-O3" "-Os" CMAKE_C_FLAGS_RELEASE "${CMAKE_C_FLAGS_RELEASE}")
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options($<$<CONFIG:Release>:-Wl,--gc-sections> -Wl,--file-alignment,4096)
# The floor is Windows XP SP3 (NT 5.1): the headers hide what XP lacks, and
# the PE header asks for no newer system (a loader refuses a program whose
# subsystem version is above its own). Anything newer is looked up at run
# time; scripts/check-imports.sh keeps the import table honest.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
add_link_options(-Wl,--major-subsystem-version,5 -Wl,--minor-subsystem-version,1
                 -Wl,--major-os-version,5 -Wl,--minor-os-version,1)

add_library(vh_core STATIC ${VH_CORE_SOURCES})
target_include_directories(vh_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(vh_core PRIVATE ${VH_WARNINGS})
target_link_libraries(vh_core PUBLIC vh_zlib)

# The libraries the program calls directly; shell32, ole32, oleacc, oleaut32
# and the rest are looked up at run time (LoadSystemLibrary), and uuid only
# supplies interface ids.
set(VH_SYSTEM_LIBS comctl32 gdi32 msimg32 user32 advapi32 uuid)
add_library(vh_win STATIC ${VH_WIN_SOURCES})
target_compile_options(vh_win PRIVATE ${VH_WARNINGS})
target_link_libraries(vh_win PUBLIC vh_core vh_jpeg ${VH_SYSTEM_LIBS})

# Artwork, generated into the build tree; regenerated when the script changes.
set(VH_ART_DIR ${CMAKE_BINARY_DIR}/art)
set(VH_ART_SCRIPT ${CMAKE_SOURCE_DIR}/res/art/generate.py)
if(EXISTS ${VH_ART_SCRIPT})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VH_ART_SCRIPT})
  execute_process(COMMAND /usr/bin/python3 ${VH_ART_SCRIPT} ${VH_ART_DIR} RESULT_VARIABLE art_rc)
  if(NOT art_rc EQUAL 0)
    message(FATAL_ERROR "generating the artwork failed")
  endif()
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -DVH_HAVE_ART -I${VH_ART_DIR}")
endif()
# The event log's message table, compiled by windmc and included by the
# resource script; compiled again when its source changes.
set(VH_EVENTS_DIR ${CMAKE_BINARY_DIR}/events)
set(VH_EVENTS_MC ${CMAKE_SOURCE_DIR}/res/varnhold_events.mc)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VH_EVENTS_MC})
file(MAKE_DIRECTORY ${VH_EVENTS_DIR})
find_program(VH_WINDMC NAMES i686-w64-mingw32-windmc REQUIRED)
execute_process(COMMAND ${VH_WINDMC} -h ${VH_EVENTS_DIR} -r ${VH_EVENTS_DIR} ${VH_EVENTS_MC} RESULT_VARIABLE mc_rc)
if(NOT mc_rc EQUAL 0)
  message(FATAL_ERROR "compiling the message table ${VH_EVENTS_MC} failed")
endif()
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${VH_EVENTS_DIR}")
set(VH_RC_SOURCES ${CMAKE_SOURCE_DIR}/res/varnhold.rc)
set_source_files_properties(${VH_RC_SOURCES} PROPERTIES OBJECT_DEPENDS ${VH_EVENTS_DIR}/MSG00409.bin)
add_library(vh_test_platform STATIC ${VH_TEST_PLATFORM_SOURCES})
target_compile_options(vh_test_platform PRIVATE ${VH_WARNINGS})
target_link_libraries(vh_test_platform PUBLIC vh_core)

set(VH_APP_ENTRY ${CMAKE_SOURCE_DIR}/app/main_win.cpp ${CMAKE_SOURCE_DIR}/app/terminate_handler_win.cpp)
add_executable(varnhold WIN32 ${VH_APP_ENTRY} ${VH_REAL_PLATFORM} ${VH_RC_SOURCES})
target_compile_options(varnhold PRIVATE ${VH_WARNINGS})
target_link_libraries(varnhold PRIVATE vh_win)
set_target_properties(varnhold PROPERTIES OUTPUT_NAME varnhold)
# The language files live beside the executable.
file(GLOB VH_LANGUAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/lang/DLan_*.ini)
add_custom_command(TARGET varnhold POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VH_LANGUAGE_FILES} ${CMAKE_BINARY_DIR})

# The same program with a recording platform, for the tests that drive the
# real executable: hive swaps and the restart are recorded, never done.
add_executable(varnhold_recorded WIN32 ${VH_APP_ENTRY}
               ${CMAKE_SOURCE_DIR}/tests/wine/recorded_app/recorded_platform_win.cpp ${VH_RC_SOURCES})
target_link_libraries(varnhold_recorded PRIVATE vh_win vh_test_platform)

# GoogleTest from Debian's source tree, cross-built with the program.
# The win32 thread model has no pthreads.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest's Notification is built on std::mutex, which the win32 thread
# model lacks: its porting hook supplies one on a Win32 event, found ahead
# of the stock hook by GoogleTest and by the tests.
target_include_directories(gtest BEFORE PUBLIC ${CMAKE_SOURCE_DIR}/tests/wine/gtest_port)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
file(GLOB VH_WINE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*_test.cpp)
file(GLOB VH_WINE_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/support/*.cpp)
add_library(vh_wine_test_support STATIC ${VH_WINE_TEST_SUPPORT})
# The tests call COM, the accessibility client and shlwapi's key deletion
# themselves.
target_link_libraries(vh_wine_test_support PUBLIC vh_win vh_test_platform gtest psapi ole32 oleacc oleaut32 shlwapi)
target_include_directories(vh_wine_test_support PUBLIC ${CMAKE_SOURCE_DIR})
foreach(src ${VH_WINE_TESTS})
  get_filename_component(name ${src} NAME_WE)
  # With the program's resources: string table, artwork, manifest.
  add_executable(${name} ${src} ${VH_RC_SOURCES})
  target_compile_options(${name} PRIVATE ${VH_WARNINGS})
  target_link_libraries(${name} PRIVATE vh_wine_test_support gtest_main)
  # One ctest test per executable, so Wine starts a few times, not hundreds.
  add_test(NAME wine.${name} COMMAND ${name})
  set_tests_properties(wine.${name} PROPERTIES TIMEOUT 600
    ENVIRONMENT "VH_SOURCE_DIR=${CMAKE_SOURCE_DIR};VH_BINARY_DIR=${CMAKE_BINARY_DIR}")
endforeach()

# Windows-only tools (the control gallery and the like), not shipped.
file(GLOB VH_WIN_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*_win_tool.cpp)
foreach(src ${VH_WIN_TOOLS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} WIN32 ${src} ${VH_REAL_PLATFORM} ${VH_RC_SOURCES})
  # psapi: with the XP headers the memory counters come from psapi.dll.
  target_link_libraries(${name} PRIVATE vh_win vh_test_platform psapi)
  target_compile_options(${name} PRIVATE ${VH_WARNINGS})
endforeach()

add_test(NAME exe.varnhold_is_a_static_elevated_x86_gui_program
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-exe.sh $<TARGET_FILE:varnhold>)

# Windows refuses to start a program that imports a function it lacks, and
# Wine has them all: the import table is checked against a reviewed list.
add_test(NAME exe.varnhold_imports_only_what_xp_sp3_has
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh $<TARGET_FILE:varnhold>
                 ${CMAKE_SOURCE_DIR}/tests/package/imports.txt)
add_test(NAME package.import_check_refuses_unlisted_and_post_xp_imports
         COMMAND ${CMAKE_SOURCE_DIR}/tests/package/check_imports_test.sh ${CMAKE_BINARY_DIR})

add_test(NAME package.installer_installs_runs_and_uninstalls_cleanly
         COMMAND ${CMAKE_SOURCE_DIR}/tests/package/installer_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(package.installer_installs_runs_and_uninstalls_cleanly PROPERTIES TIMEOUT 600)
add_test(NAME package.msi_installs_upgrades_runs_and_uninstalls_with_msiexec
         COMMAND ${CMAKE_SOURCE_DIR}/tests/package/msi_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(package.msi_installs_upgrades_runs_and_uninstalls_with_msiexec PROPERTIES TIMEOUT 600)

# The MSI package's custom action (scripts/make-msi.sh carries it in the
# package): exported by its plain name, as Windows Installer looks it up.
add_library(varnhold_msi SHARED ${CMAKE_SOURCE_DIR}/res/installer/msi_actions_win.cpp)
set_target_properties(varnhold_msi PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_compile_options(varnhold_msi PRIVATE ${VH_WARNINGS})
target_link_libraries(varnhold_msi PRIVATE msi)
target_link_options(varnhold_msi PRIVATE -Wl,--kill-at)

# A library planted beside the test programs under the restore client's
# name: the program must never load it.
add_library(planted_srclient SHARED ${CMAKE_SOURCE_DIR}/tests/wine/planted/planted_srclient.cpp)
set_target_properties(planted_srclient PROPERTIES OUTPUT_NAME SrClient PREFIX "" SUFFIX ".dll"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
