# SPDX-License-Identifier: MIT
# Files the program ships. A program started from the build folder finds them beside itself
# (VERASCO_PROGRAM_DIR); installed, the data files (help, palette) lie in share/verasco/ and the
# machine code (the stand-alone export's programs, the media module) in libexec/verasco/, and the program
# finds both relative to its own folder (platform/shipped_files.h).
set(VERASCO_PROGRAM_DIR ${CMAKE_BINARY_DIR}/app)
set(VERASCO_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/verasco)
set(VERASCO_INSTALL_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBEXECDIR}/verasco)

# verasco_ship_files(TARGET [SUBDIR folder] FILES file...): data files, copied beside the program
# whenever they change (under SUBDIR when given) and installed into share/verasco/[SUBDIR].
function(verasco_ship_files target)
  cmake_parse_arguments(S "" "SUBDIR" "FILES" ${ARGN})
  set(folder ${VERASCO_PROGRAM_DIR})
  set(destination ${VERASCO_INSTALL_DATADIR})
  if(S_SUBDIR)
    string(APPEND folder /${S_SUBDIR})
    string(APPEND destination /${S_SUBDIR})
  endif()
  set(copies)
  foreach(file IN LISTS S_FILES)
    get_filename_component(name ${file} NAME)
    add_custom_command(OUTPUT ${folder}/${name}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${folder}/${name}
      DEPENDS ${file} VERBATIM)
    list(APPEND copies ${folder}/${name})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${copies})
  install(FILES ${S_FILES} DESTINATION ${destination})
  set_property(GLOBAL APPEND PROPERTY VERASCO_SHIPPED_TARGETS ${target})
endfunction()

# verasco_program_needs_shipped_files([TARGET...]): building the program builds what it ships (the
# shipped data files and those of the TARGETs that exist), so `--target verasco` gives a program
# that runs whole.
function(verasco_program_needs_shipped_files)
  get_property(shipped GLOBAL PROPERTY VERASCO_SHIPPED_TARGETS)
  foreach(target IN LISTS ARGN)
    if(TARGET ${target})
      list(APPEND shipped ${target})
    endif()
  endforeach()
  if(TARGET verasco AND shipped)
    add_dependencies(verasco ${shipped})
  endif()
endfunction()
