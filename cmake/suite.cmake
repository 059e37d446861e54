# A Windows test entry limits its own test program's run (testing/wine-test:
# 280 s, and three times that where its tree's Wine runs under an emulator);
# ctest's limit for the entry is a backstop above both.
set(SUITE_WINE_TEST_TIMEOUT 1200)

# suite_folder(NAME [DEPENDS folder...] [PROGRAM exe] [TEST_ONLY])
#
# One folder of the suite: a static library of its sources, its tests and,
# when it holds a main_win.cpp, its program. File roles by name:
#   *_test.cpp      native unit tests (portable code, fakes of the ports)
#   *_win_test.cpp  tests under Wine against the real API
#   *_win.cpp       Win32 implementation files, Windows tree only
#   main_win.cpp    the program's entry point
#   *_tool_win.cpp  a small helper program that Windows tests start
#   *.cpp           portable code, both trees
# An optional win_test_fixture.sh prepares the Wine prefix of the folder's
# Windows tests (files, links, drives) from the Unix side. With a
# win_test_standard_user.sh beside it, the suites named StandardUser* run
# apart in a prefix that fixture prepares (an unwritable Windows folder).
# With a win_test_layout.sh, the suites named Layout* run apart once per
# layout it names; a win_test_layout_*.sh does so for the suites its
# "# suites:" line names. Suites named Density* run once more at 120 and once
# at 144 dots per inch. In the 32-bit tree, suites named Wow64* run once more
# in a 64-bit prefix.

# One Windows test entry ENTRY: the test program EXE run by wine-test in a
# fresh prefix that FIXTURE ("" for none) prepares, with the environment ENV
# (a list of NAME=VALUE, may be empty).
function(suite_wine_entry entry exe fixture env)
  add_test(NAME "${entry}"
           COMMAND "${CMAKE_SOURCE_DIR}/testing/wine-test" ${SUITE_WINDOWS_TREE}
                   "$<TARGET_FILE:${exe}>" "${SUITE_REPORT_DIR}/${entry}.xml" ${fixture})
  set_tests_properties("${entry}" PROPERTIES TIMEOUT ${SUITE_WINE_TEST_TIMEOUT})
  if(env)
    set_tests_properties("${entry}" PROPERTIES ENVIRONMENT "${env}")
  endif()
endfunction()

# Whether any of the test files given after PREFIX holds a suite whose name
# begins with PREFIX.
function(suite_has_suites result prefix)
  set(found FALSE)
  foreach(test_file ${ARGN})
    file(STRINGS "${test_file}" lines REGEX "^TEST(_F)?\\(${prefix}")
    if(lines)
      set(found TRUE)
    endif()
  endforeach()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

# Sorts the folder DIR's sources by their roles (above) into the
# variables portable, win, native_tests, win_tests, main and tools of the
# caller.
macro(suite_sort_sources dir)
  file(GLOB all_sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  set(portable "")
  set(win "")
  set(native_tests "")
  set(win_tests "")
  set(main "")
  set(tools "")
  foreach(file ${all_sources})
    get_filename_component(base "${file}" NAME)
    if(base STREQUAL "main_win.cpp")
      set(main "${file}")
    elseif(base MATCHES "_tool_win\\.cpp$")
      list(APPEND tools "${file}")
    elseif(base MATCHES "_win_test\\.cpp$")
      list(APPEND win_tests "${file}")
    elseif(base MATCHES "_test\\.cpp$")
      list(APPEND native_tests "${file}")
    elseif(base MATCHES "_win\\.cpp$")
      list(APPEND win "${file}")
    else()
      list(APPEND portable "${file}")
    endif()
  endforeach()
endmacro()

# The folder's library LIB of SOURCES, linked with DEPENDS (and, in a
# Windows tree, the system libraries); an interface library where the
# folder has no sources of its own.
function(suite_folder_library lib sources depends)
  if(sources)
    add_library(${lib} STATIC ${sources})
    target_link_libraries(${lib} PUBLIC ${depends})
    if(WIN32)
      target_link_libraries(${lib} PUBLIC ${SUITE_WIN32_LIBS})
    endif()
  else()
    add_library(${lib} INTERFACE)
    target_link_libraries(${lib} INTERFACE ${depends})
  endif()
endfunction()

# The test program EXE of TESTS, linked with LIBS and GoogleTest's main.
function(suite_test_program exe tests libs)
  if(WIN32)
    # The Windows tests carry the programs' icon, so that the windows they
    # open find it where the programs do.
    add_executable(${exe} ${tests} "${SUITE_TEST_RESOURCES}")
    add_dependencies(${exe} suite_icon)
    set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  else()
    add_executable(${exe} ${tests})
  endif()
  target_link_libraries(${exe} PRIVATE ${libs} ${SUITE_GTEST_MAIN})
endfunction()

# The Windows test entries of folder NAME (in DIR) for its test program
# EXE built of WIN_TESTS: the folder's own entry, and the entries of the
# suites that run apart or once more (see the top of this file).
function(suite_windows_entries name dir exe win_tests)
  # The fixture, when present, runs in the test's prefix first.
  set(fixture "${dir}/win_test_fixture.sh")
  if(NOT EXISTS "${fixture}")
    set(fixture "")
  endif()
  suite_wine_entry("win.${name}" ${exe} "${fixture}" "")
  # The tests of suites named StandardUser* run apart, in a prefix whose
  # Windows folder the program cannot write (win_test_standard_user.sh
  # lists it in .suite-lock); the others where it can.
  set(standard_user_fixture "${dir}/win_test_standard_user.sh")
  set(apart "")
  if(EXISTS "${standard_user_fixture}")
    list(APPEND apart "StandardUser*")
    suite_wine_entry("win.${name}.standard-user" ${exe} "${standard_user_fixture}"
                     "GTEST_FILTER=StandardUser*")
  endif()
  # With a win_test_layout.sh beside them, the suites named Layout* run
  # apart, once for each layout its "# layouts:" line names, in a prefix
  # that script lays out so; SUITE_TEST_LAYOUT names the layout to the
  # script and to the tests. Further scripts win_test_layout_*.sh do the
  # same for the suites their "# suites:" line names.
  file(GLOB layout_fixtures "${dir}/win_test_layout.sh" "${dir}/win_test_layout_*.sh")
  foreach(layout_fixture ${layout_fixtures})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${layout_fixture}")
    file(STRINGS "${layout_fixture}" layout_line REGEX "^# layouts: ")
    string(REGEX REPLACE "^# layouts: " "" layouts "${layout_line}")
    separate_arguments(layouts)
    file(STRINGS "${layout_fixture}" suites_line REGEX "^# suites: ")
    string(REGEX REPLACE "^# suites: " "" suites "${suites_line}")
    if(NOT suites)
      set(suites "Layout*")
    endif()
    list(APPEND apart "${suites}")
    foreach(layout ${layouts})
      suite_wine_entry("win.${name}.${layout}" ${exe} "${layout_fixture}"
                       "GTEST_FILTER=${suites};SUITE_TEST_LAYOUT=${layout}")
    endforeach()
  endforeach()
  if(apart)
    list(JOIN apart ":" apart_filter)
    set_tests_properties("win.${name}" PROPERTIES ENVIRONMENT "GTEST_FILTER=-${apart_filter}")
  endif()
  # Suites named Density* run at 96 dots per inch with the others, and
  # again at 120 and 144 (125 % and 150 %), each in a prefix whose display
  # says so (wine-test reads SUITE_TEST_DPI).
  suite_has_suites(has_density_suites Density ${win_tests})
  if(has_density_suites)
    foreach(dpi 120 144)
      suite_wine_entry("win.${name}.dpi${dpi}" ${exe} "${fixture}"
                       "GTEST_FILTER=Density*;SUITE_TEST_DPI=${dpi}")
    endforeach()
  endif()
  # Suites named Wow64* run with the others, and in the 32-bit tree once
  # more in a 64-bit prefix, where the 32-bit programs run under WOW64 as on
  # 64-bit Windows (wine-test reads SUITE_TEST_PREFIX); the folder's
  # fixture prepares either prefix.
  if(SUITE_WINDOWS_TREE STREQUAL "win32")
    suite_has_suites(has_wow64_suites Wow64 ${win_tests})
    if(has_wow64_suites)
      suite_wine_entry("win.${name}.wow64" ${exe} "${fixture}"
                       "GTEST_FILTER=Wow64*;SUITE_TEST_PREFIX=win64")
    endif()
  endif()
endfunction()

# The helper programs TOOLS that Windows tests start, each linked with LIB
# and named after its file without "_tool_win".
function(suite_tools lib tools)
  foreach(tool ${tools})
    get_filename_component(tool_name "${tool}" NAME_WE)
    string(REGEX REPLACE "_tool_win$" "" tool_name "${tool_name}")
    add_executable(${tool_name} "${tool}")
    target_link_libraries(${tool_name} PRIVATE ${lib})
    target_link_options(${tool_name} PRIVATE -municode)
    set_target_properties(${tool_name} PROPERTIES
      RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  endforeach()
endfunction()

function(suite_folder name)
  cmake_parse_arguments(ARG "TEST_ONLY" "PROGRAM" "DEPENDS" ${ARGN})
  set(dir "${CMAKE_SOURCE_DIR}/${name}")
  suite_sort_sources("${dir}")

  set(lib_sources ${portable})
  if(WIN32)
    list(APPEND lib_sources ${win})
  endif()
  set(lib "${name}")
  suite_folder_library(${lib} "${lib_sources}" "${ARG_DEPENDS}")

  set(test_libs ${lib})
  if(NOT name STREQUAL "testing")
    list(APPEND test_libs testing)
  endif()
  if(WIN32 AND win_tests)
    suite_test_program("${name}_win_tests" "${win_tests}" "${test_libs}")
    suite_windows_entries(${name} "${dir}" "${name}_win_tests" "${win_tests}")
  elseif(NOT WIN32 AND native_tests)
    set(exe "${name}_tests")
    suite_test_program(${exe} "${native_tests}" "${test_libs}")
    add_test(NAME "native.${name}"
             COMMAND ${exe} "--gtest_output=xml:${SUITE_REPORT_DIR}/native.${name}.xml")
    set_tests_properties("native.${name}" PROPERTIES TIMEOUT 300)
  endif()

  if(WIN32)
    suite_tools(${lib} "${tools}")
  endif()
  if(WIN32 AND main AND ARG_PROGRAM)
    suite_program(${ARG_PROGRAM} "${main}" ${lib})
  endif()
endfunction()

set(SUITE_WIN32_LIBS comctl32 shell32 ole32 oleaut32 uuid advapi32
    gdi32 user32 kernel32 winmm strmiids)

# A shipped program: GUI subsystem, Unicode entry point, icon, manifest and
# version resource.
function(suite_program exe main lib)
  set(SUITE_PROGRAM_NAME "${exe}")
  set(SUITE_PROGRAM_DESCRIPTION "${SUITE_DESCRIPTION_${exe}}")
  configure_file("${CMAKE_SOURCE_DIR}/assets/program.rc.in"
                 "${CMAKE_BINARY_DIR}/assets/${exe}.rc" @ONLY)
  configure_file("${CMAKE_SOURCE_DIR}/assets/manifest.xml.in"
                 "${CMAKE_BINARY_DIR}/assets/manifest.xml" @ONLY)
  # windres reports no dependencies: the resources are compiled again when
  # the manifest or the icon changes.
  set_source_files_properties("${CMAKE_BINARY_DIR}/assets/${exe}.rc" PROPERTIES
    OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/assets/manifest.xml;${CMAKE_BINARY_DIR}/bin/ico.ico")
  add_executable(${exe} WIN32 "${main}" "${CMAKE_BINARY_DIR}/assets/${exe}.rc")
  target_link_options(${exe} PRIVATE -municode -s)
  target_link_libraries(${exe} PRIVATE ${lib})
  set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin")
  add_dependencies(${exe} suite_icon)
  set_property(GLOBAL APPEND PROPERTY SUITE_PROGRAMS ${exe})
endfunction()

set(SUITE_DESCRIPTION_tmpsweep "临时文件清除工具")
set(SUITE_DESCRIPTION_junksweep "垃圾文件清除工具")
set(SUITE_DESCRIPTION_Tovrix "Tovrix 快捷输入框")

# ico.ico, drawn by a small host program; it goes beside the programs and
# into their resources.
if(WIN32)
  find_program(SUITE_HOST_CXX NAMES g++ c++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
  set(icon "${CMAKE_BINARY_DIR}/bin/ico.ico")
  add_custom_command(
    OUTPUT "${icon}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/bin"
    COMMAND "${SUITE_HOST_CXX}" -std=c++20 -O2 -I "${CMAKE_SOURCE_DIR}"
            -o "${CMAKE_BINARY_DIR}/make_icon" "${CMAKE_SOURCE_DIR}/assets/make_icon.cpp"
    COMMAND "${CMAKE_BINARY_DIR}/make_icon" "${icon}"
    DEPENDS "${CMAKE_SOURCE_DIR}/assets/make_icon.cpp" "${CMAKE_SOURCE_DIR}/window-look/geometry.h"
    COMMENT "Drawing ico.ico")
  add_custom_target(suite_icon ALL DEPENDS "${icon}")
  set(SUITE_TEST_RESOURCES "${CMAKE_BINARY_DIR}/assets/test_resources.rc")
  # The test programs name the Windows versions they know as the programs
  # do, so that they read the version the programs read (8.1 and later
  # call themselves 6.2 to a program that names none). Nothing else of the
  # programs' manifest: the tests keep their common controls and density.
  file(READ "${CMAKE_SOURCE_DIR}/assets/manifest.xml.in" program_manifest)
  string(REGEX MATCH "<compatibility.*</compatibility>" compatibility "${program_manifest}")
  set(test_manifest "${CMAKE_BINARY_DIR}/assets/test_manifest.xml")
  file(WRITE "${test_manifest}"
       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
       "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
       "  ${compatibility}\n</assembly>\n")
  file(WRITE "${SUITE_TEST_RESOURCES}" "1 ICON \"${icon}\"\n1 24 \"${test_manifest}\"\n")
  set_source_files_properties("${SUITE_TEST_RESOURCES}" PROPERTIES
    OBJECT_DEPENDS "${icon};${test_manifest}")
endif()
