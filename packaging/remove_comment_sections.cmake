# CPack pre-build step: removes the .comment and .note sections (compiler
# version strings) from the staged programs, as Debian's dh_strip does;
# CPACK_STRIP_FILES has removed the symbols already.
find_program(strip_program strip REQUIRED)
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS staged)
  file(READ "${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")  # "\x7fELF"
    execute_process(COMMAND ${strip_program} --remove-section=.comment --remove-section=.note "${file}"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
