# Fails when a source file differs from the layout .clang-format gives it.
find_program(CLANG_FORMAT clang-format)
if(NOT CLANG_FORMAT)
  message(FATAL_ERROR "clang-format is not installed (scripts/bootstrap installs it)")
endif()
file(GLOB_RECURSE sources ${ROOT}/*.cpp ${ROOT}/*.h)
list(FILTER sources EXCLUDE REGEX "/build[^/]*/|/\\.git/")
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE complaints)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "not formatted as .clang-format says (run clang-format -i on them):\n${complaints}")
endif()
