# Compiling a module's resource file (dialogs, string tables, menus, bitmaps, icons; the
# format is in resources/README.md) into the module:
#
#   orvane_add_resources(<target> <file.rc> [<more.rc> …])
#
# The resource compiler turns the files into one C++ source that is built into <target>
# and registers the resources with the platform when the module is loaded. Further files
# add to the first, as the program's drawn pictures do (cmake/DefaultSkins.cmake).
include_guard(GLOBAL)

if(NOT TARGET orvane-rc)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tools/rc ${CMAKE_BINARY_DIR}/tools/rc)
endif()

function(orvane_add_resources target file)
  get_filename_component(source ${file} ABSOLUTE)
  get_filename_component(name ${file} NAME_WE)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}_rc.cpp)
  set(more)
  foreach(extra ${ARGN})
    get_filename_component(extra ${extra} ABSOLUTE)
    list(APPEND more ${extra})
  endforeach()
  add_custom_command(
    OUTPUT ${output}
    COMMAND orvane-rc ${source} ${output} ${output}.d ${more}
    DEPENDS orvane-rc ${source} ${more}
    DEPFILE ${output}.d
    COMMENT "Compiling resources ${name}.rc for ${target}"
    VERBATIM)
  # The target may live in another directory, which does not see this rule: a custom
  # target of this directory makes the file, and the source is marked as generated there.
  add_custom_target(${target}_${name}_rc DEPENDS ${output})
  add_dependencies(${target} ${target}_${name}_rc)
  set_source_files_properties(${output} TARGET_DIRECTORY ${target} PROPERTIES GENERATED TRUE)
  target_sources(${target} PRIVATE ${output})
endfunction()
