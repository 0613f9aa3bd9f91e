# Run by CPack on its staging folder before the .deb is made: strips the program
# as Debian's own packaging does, without the notes and compiler comments plain
# stripping leaves behind.
if(NOT IS_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}" OR NOT CPACK_NARABIN_STRIP)
  message(FATAL_ERROR "debstrip.cmake runs from CPack only")
endif()
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*")
foreach(program ${programs})
  execute_process(COMMAND "${CPACK_NARABIN_STRIP}" --strip-unneeded --remove-section=.comment --remove-section=.note
    "${program}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "could not strip ${program}")
  endif()
endforeach()
