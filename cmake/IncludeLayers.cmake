# Keeps the layers: no include in platform/, core/, graphs/ or skin/ names a folder above
# its own. From the bottom:
#
#   platform < core/data < graphs < core < fanout_filter, skin < windows
#     < scheduler, clip_player, edit_project, movie_control < tests, bench, fuzz, tools
#
# A folder of the same rank is no lower either (skin may not include fanout_filter).
# Includes naming none of these folders (the platform's <win32/…>, the standard library,
# a neighbour by its bare name) are below everything.
#
#   cmake -DSOURCE_DIR=<tree> [-DFIXTURE_DIR=<tree>] -P IncludeLayers.cmake
#
# checks <tree>; with FIXTURE_DIR it first proves itself on a tree whose climbing
# includes end in "// climbs", and fails unless it finds exactly those.
cmake_minimum_required(VERSION 3.25)

set(checked_folders platform core graphs skin)

# The rank of a path relative to the tree, or -1 when it is in no ranked folder.
function(layer_rank path out)
  set(rank -1)
  if(path MATCHES "^platform/")
    set(rank 0)
  elseif(path MATCHES "^core/data/")
    set(rank 1)
  elseif(path MATCHES "^graphs/")
    set(rank 2)
  elseif(path MATCHES "^core/")
    set(rank 3)
  elseif(path MATCHES "^(fanout_filter|skin)/")
    set(rank 4)
  elseif(path MATCHES "^windows/")
    set(rank 5)
  elseif(path MATCHES "^(scheduler|clip_player|edit_project|movie_control)/")
    set(rank 6)
  elseif(path MATCHES "^(tests|bench|fuzz|tools)/")
    set(rank 7)
  endif()
  set(${out} ${rank} PARENT_SCOPE)
endfunction()

# The ranked folder a path lies in ("core/data", "windows", …), for telling siblings apart.
function(layer_folder path out)
  if(path MATCHES "^core/data/")
    set(${out} core/data PARENT_SCOPE)
  else()
    string(REGEX REPLACE "/.*" "" folder "${path}")
    set(${out} ${folder} PARENT_SCOPE)
  endif()
endfunction()

# Every "<file>: <include>" of `root` whose include names a folder that is not below the
# file's own, into `out`.
function(find_climbs root out)
  set(climbs)
  set(patterns)
  foreach(folder ${checked_folders})
    list(APPEND patterns ${root}/${folder}/*.h ${root}/${folder}/*.hpp ${root}/${folder}/*.cpp ${root}/${folder}/*.c
         ${root}/${folder}/*.inc)
  endforeach()
  file(GLOB_RECURSE files ${patterns})
  foreach(file ${files})
    file(RELATIVE_PATH own ${root} ${file})
    layer_rank(${own} own_rank)
    layer_folder(${own} own_folder)
    get_filename_component(dir ${file} DIRECTORY)
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" named "${line}")
      set(target ${named})
      # A path through ".." is taken from the including file's folder.
      if(named MATCHES "^\\.\\.?/")
        get_filename_component(absolute ${named} ABSOLUTE BASE_DIR ${dir})
        file(RELATIVE_PATH target ${root} ${absolute})
      endif()
      layer_rank(${target} target_rank)
      if(target_rank LESS 0)
        continue()
      endif()
      layer_folder(${target} target_folder)
      if(target_rank GREATER own_rank OR (target_rank EQUAL own_rank AND NOT target_folder STREQUAL own_folder))
        list(APPEND climbs "${own}: ${named}")
      endif()
    endforeach()
  endforeach()
  set(${out} ${climbs} PARENT_SCOPE)
endfunction()

# The includes the fixture marks as climbing, in the form find_climbs reports them.
function(marked_climbs root out)
  set(marked)
  file(GLOB_RECURSE files ${root}/*)
  foreach(file ${files})
    file(RELATIVE_PATH own ${root} ${file})
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include.*// climbs$")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" named "${line}")
      list(APPEND marked "${own}: ${named}")
    endforeach()
  endforeach()
  set(${out} ${marked} PARENT_SCOPE)
endfunction()

if(DEFINED FIXTURE_DIR)
  find_climbs(${FIXTURE_DIR} found)
  marked_climbs(${FIXTURE_DIR} expected)
  list(SORT found)
  list(SORT expected)
  if(NOT found STREQUAL expected)
    string(REPLACE ";" "\n  " found "${found}")
    string(REPLACE ";" "\n  " expected "${expected}")
    message(FATAL_ERROR "The layer check misjudges its fixture.\nFound:\n  ${found}\nMarked:\n  ${expected}")
  endif()
endif()

find_climbs(${SOURCE_DIR} climbs)
if(climbs)
  list(LENGTH climbs count)
  string(REPLACE ";" "\n  " climbs "${climbs}")
  message(FATAL_ERROR "${count} includes name a folder that is not below their own:\n  ${climbs}")
endif()
