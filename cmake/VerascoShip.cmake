# Files the program ships. A program started from the build folder finds them beside itself
# (VERASCO_PROGRAM_DIR); installed, they lie in share/verasco/ and the program finds them there
# relative to its own folder.
set(VERASCO_PROGRAM_DIR ${CMAKE_BINARY_DIR}/app)
set(VERASCO_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/verasco)

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

# verasco_ship_program(TARGET NAME file): a program that the stand-alone export packs; built beside
# the program under that file name and installed into share/verasco/.
function(verasco_ship_program target)
  cmake_parse_arguments(S "" "NAME" "" ${ARGN})
  get_filename_component(stem ${S_NAME} NAME_WE)
  get_filename_component(suffix ${S_NAME} LAST_EXT)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${VERASCO_PROGRAM_DIR} OUTPUT_NAME ${stem} SUFFIX "${suffix}")
  install(TARGETS ${target} RUNTIME DESTINATION ${VERASCO_INSTALL_DATADIR})
  set_property(GLOBAL APPEND PROPERTY VERASCO_SHIPPED_TARGETS ${target})
endfunction()

# Building the program builds what it ships, so `--target verasco` gives a program that runs whole.
function(verasco_program_needs_shipped_files)
  get_property(shipped GLOBAL PROPERTY VERASCO_SHIPPED_TARGETS)
  if(TARGET verasco AND shipped)
    add_dependencies(verasco ${shipped})
  endif()
endfunction()
