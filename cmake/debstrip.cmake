# Run by CPack on its staging folder before the .deb is made: strips the program
# as Debian's own packaging does, without the notes and compiler comments plain
# stripping leaves behind.
if(NOT IS_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}" OR NOT CPACK_NARABIN_STRIP)
  message(FATAL_ERROR "debstrip.cmake runs from CPack only")
endif()
# The program and the libraries it loads later (the printing library, the rules solver).
set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(GLOB programs "${root}/bin/*" "${root}/lib/*/narabin/*.so" "${root}/lib/narabin/*.so")
foreach(program ${programs})
  execute_process(COMMAND "${CPACK_NARABIN_STRIP}" --strip-unneeded --remove-section=.comment --remove-section=.note
    "${program}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "could not strip ${program}")
  endif()
endforeach()
