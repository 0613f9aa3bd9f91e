# Compiles every source of the program for Windows (MinGW-w64, syntax only, against the Qt
# headers at hand), so that code written for Windows alone cannot rot unseen here; with
# -DWITH_TESTS=ON the tests' sources too (slower: scripts/windows-syntax). Fails when the
# cross compiler is missing: a check that cannot run is no pass.
if(NOT COMPILER)
  message(FATAL_ERROR "x86_64-w64-mingw32-g++-posix is missing: scripts/bootstrap installs g++-mingw-w64-x86-64-posix")
endif()
string(REPLACE "|" ";" qt_includes "${QT_INCLUDES}")
set(flags -std=c++20 -fsyntax-only -D_WIN32 -DWIN32 -DUNICODE -D_UNICODE -Wall -Wextra -Werror
  -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_PRINTSUPPORT_LIB -DQT_TESTLIB_LIB
  # The Qt headers at hand were made for Linux: their export macros do not match.
  -Wno-attributes "-DNARABIN_VERSION=\"${VERSION}\"" "-DNARABIN_PRINT_LIBRARY=\"narabin_print.dll\""
  "-DNARABIN_TEST_PRINT_LIBRARY=\"narabin_print.dll\"" -I${ROOT} -I${BINARY} -I${ROOT}/tests -I${ROOT}/tests/seating)
foreach(dir ${qt_includes})
  list(APPEND flags -isystem ${dir})
endforeach()
# The tests' moc output, which their sources include.
file(GLOB autogen LIST_DIRECTORIES true ${BINARY}/tests/*_autogen/include)
foreach(dir ${autogen})
  list(APPEND flags -I${dir})
endforeach()

set(sources "")
foreach(layer core platform print widgets roster seating mainwin about shell)
  file(GLOB found ${ROOT}/${layer}/*.cpp)
  list(APPEND sources ${found})
endforeach()
if(WITH_TESTS)
  file(GLOB_RECURSE tests ${ROOT}/tests/*.cpp)
  # What only Linux runs: a tmpfs mounted by the test, a print server of the test's own; and
  # the code page oracle, which is built for Windows without Qt.
  list(FILTER tests EXCLUDE REGEX "/(tst_fulldisk|tst_printer)\\.cpp$|/tests/wine/")
  list(APPEND sources ${tests})
endif()

# Two at a time (a pipeline runs its commands side by side).
set(failed "")
list(LENGTH sources count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
  set(batch "")
  set(commands "")
  foreach(k ${i} ${i}+1)
    math(EXPR k "${k}")
    if(k LESS count)
      list(GET sources ${k} source)
      list(APPEND batch ${source})
      list(APPEND commands COMMAND ${COMPILER} ${flags} ${source})
    endif()
  endforeach()
  execute_process(${commands} RESULTS_VARIABLE results ERROR_VARIABLE errors OUTPUT_QUIET)
  foreach(result ${results})
    if(NOT result EQUAL 0)
      string(APPEND failed "${batch}:\n${errors}\n")
      break()
    endif()
  endforeach()
endforeach()
# The resources: icon, version information and the manifest, as the Windows build makes them.
get_filename_component(bin ${COMPILER} DIRECTORY)
find_program(WINDRES x86_64-w64-mingw32-windres HINTS ${bin})
if(NOT WINDRES)
  message(FATAL_ERROR "x86_64-w64-mingw32-windres is missing: it comes with g++-mingw-w64-x86-64-posix")
endif()
string(REPLACE "." ";" parts "${VERSION}")
list(GET parts 0 PROJECT_VERSION_MAJOR)
list(GET parts 1 PROJECT_VERSION_MINOR)
list(GET parts 2 PROJECT_VERSION_PATCH)
set(PROJECT_VERSION ${VERSION})
set(rc_dir ${BINARY}/windows-resources)
set(NARABIN_ICON ${ROOT}/resources/icons/narabin.ico)
set(NARABIN_MANIFEST ${rc_dir}/narabin.manifest)
configure_file(${ROOT}/cmake/windows/narabin.manifest.in ${NARABIN_MANIFEST} @ONLY)
configure_file(${ROOT}/cmake/windows/narabin.rc.in ${rc_dir}/narabin.rc @ONLY)
execute_process(COMMAND ${WINDRES} ${rc_dir}/narabin.rc -O coff -o ${rc_dir}/narabin.res
  RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  string(APPEND failed "narabin.rc:\n${errors}\n")
endif()
if(failed)
  message(FATAL_ERROR "does not compile for Windows:\n${failed}")
endif()
message(STATUS "${count} sources compile for Windows")
