# Compiles every source of the program for Windows (MinGW-w64, syntax only, against the
# Qt headers at hand), so that code written for Windows alone cannot rot unseen here.
# Fails when the cross compiler is missing: a check that cannot run is not a pass.
if(NOT COMPILER)
  message(FATAL_ERROR "x86_64-w64-mingw32-g++-posix is missing: scripts/bootstrap installs g++-mingw-w64-x86-64-posix")
endif()
string(REPLACE "|" ";" qt_includes "${QT_INCLUDES}")
set(flags -std=c++20 -fsyntax-only -D_WIN32 -DWIN32 -DUNICODE -D_UNICODE -Wall -Wextra -Werror
  # The Qt headers at hand were made for Linux: their export macros do not match.
  -Wno-attributes "-DNARABIN_VERSION=\"${VERSION}\"" -I${ROOT} -I${BINARY})
foreach(dir ${qt_includes})
  list(APPEND flags -I${dir})
endforeach()
set(failed "")
set(count 0)
foreach(layer core platform widgets roster seating mainwin about shell)
  file(GLOB sources ${ROOT}/${layer}/*.cpp)
  foreach(source ${sources})
    execute_process(COMMAND ${COMPILER} ${flags} ${source} RESULT_VARIABLE result ERROR_VARIABLE errors)
    math(EXPR count "${count} + 1")
    if(NOT result EQUAL 0)
      string(APPEND failed "${source}:\n${errors}\n")
    endif()
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "does not compile for Windows:\n${failed}")
endif()
message(STATUS "${count} sources compile for Windows")
