# Helpers that place deliverables and stand-in modules in the program folder.

# A shared library or loadable module under its Windows file name ("Language.dll",
# "Filter/Branchel.ax"). Modules find the platform library and their neighbours
# through $ORIGIN, as Windows finds DLLs beside the program.
function(orvane_add_module target)
  cmake_parse_arguments(ARG "" "FILE" "SOURCES;LIBS" ${ARGN})
  add_library(${target} SHARED ${ARG_SOURCES})
  get_filename_component(dir "${ARG_FILE}" DIRECTORY)
  get_filename_component(name "${ARG_FILE}" NAME_WE)
  get_filename_component(ext "${ARG_FILE}" EXT)
  set_target_properties(${target} PROPERTIES
    PREFIX "" OUTPUT_NAME "${name}" SUFFIX "${ext}"
    LIBRARY_OUTPUT_DIRECTORY "${ORVANE_PROGRAM_DIR}/${dir}"
    BUILD_RPATH "$ORIGIN;$ORIGIN/.."
    CXX_VISIBILITY_PRESET default)
  # Modules link only the platform libraries they name (LIBS), so one area's work in
  # progress does not hold up modules that do not use it.
  if(NOT ARG_LIBS)
    set(ARG_LIBS platform)
  endif()
  target_link_libraries(${target} PRIVATE ${ARG_LIBS})
endfunction()

# An executable of the program folder ("Orvane Media", "Calvendor").
function(orvane_add_program target)
  cmake_parse_arguments(ARG "" "FILE" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME "${ARG_FILE}"
    RUNTIME_OUTPUT_DIRECTORY "${ORVANE_PROGRAM_DIR}"
    BUILD_RPATH "$ORIGIN")
  target_link_libraries(${target} PRIVATE platform ${ARG_LIBS})
endfunction()
