# Fails when a source file differs from the layout .clang-format gives it.
find_program(CLANG_FORMAT clang-format)
if(NOT CLANG_FORMAT)
  message(FATAL_ERROR "clang-format is not installed (scripts/bootstrap installs it)")
endif()
# Links are not followed: a build folder's Wine prefix links its drive Z: to /.
cmake_policy(SET CMP0009 NEW)
file(GLOB_RECURSE sources ${ROOT}/*.cpp ${ROOT}/*.h)
list(FILTER sources EXCLUDE REGEX "/build[^/]*/|/\\.git/")
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE complaints)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "not formatted as .clang-format says (run clang-format -i on them):\n${complaints}")
endif()
