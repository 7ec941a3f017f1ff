# The default skins and the program's own pictures, drawn at build time by tools/skingen
# from resources/DefaultSkins.def: the skin folders go into the program folder
# ("Skin/Normal", "Skin/TV", "Skin/SingleTV", "Skin/Channel", "Skin/Pic", "Skin/AV",
# "Skin/Video", the settings windows' "Skin/Setting", "Skin/Hardware", "Skin/VideoSet" and
# "Skin/RecordSet",
# "skins/elegance"), the program's bitmaps and icons into the build tree with a resource
# file naming them, ORVANE_ART_RC.
#
#   orvane_add_program_resources(<target>)
#
# compiles the main program's resources (resources/OrvaneMedia.rc and the drawn pictures)
# into <target>: the program itself, or a test that needs the program's resources.
include_guard(GLOBAL)
include(${CMAKE_SOURCE_DIR}/cmake/Resources.cmake)

add_subdirectory(${CMAKE_SOURCE_DIR}/tools/skingen ${CMAKE_BINARY_DIR}/tools/skingen)

set(ORVANE_SKIN_DESCRIPTION ${CMAKE_SOURCE_DIR}/resources/DefaultSkins.def)
set(ORVANE_ART_RC ${CMAKE_BINARY_DIR}/resources/art/OrvaneMediaArt.rc)
add_custom_command(
  OUTPUT ${ORVANE_ART_RC}
  BYPRODUCTS ${ORVANE_PROGRAM_DIR}/Skin/Normal/skin.ini ${ORVANE_PROGRAM_DIR}/Skin/TV/skin.ini
    ${ORVANE_PROGRAM_DIR}/skins/elegance/skin.ini ${ORVANE_PROGRAM_DIR}/Skin/SingleTV/skin.ini
    ${ORVANE_PROGRAM_DIR}/Skin/Channel/skin.ini
    ${ORVANE_PROGRAM_DIR}/Skin/Pic/skin.ini
    ${ORVANE_PROGRAM_DIR}/Skin/Setting/skin.ini ${ORVANE_PROGRAM_DIR}/Skin/Hardware/skin.ini
    ${ORVANE_PROGRAM_DIR}/Skin/VideoSet/skin.ini ${ORVANE_PROGRAM_DIR}/Skin/RecordSet/skin.ini
    ${ORVANE_PROGRAM_DIR}/Skin/AV/skin.ini
    ${ORVANE_PROGRAM_DIR}/Skin/Video/skin.ini
  COMMAND skingen ${ORVANE_SKIN_DESCRIPTION} ${ORVANE_PROGRAM_DIR} ${ORVANE_ART_RC}
  DEPENDS skingen ${ORVANE_SKIN_DESCRIPTION}
  COMMENT "Drawing the default skins and the program's pictures"
  VERBATIM)
add_custom_target(default_skins ALL DEPENDS ${ORVANE_ART_RC})

function(orvane_add_program_resources target)
  set_source_files_properties(${ORVANE_ART_RC} TARGET_DIRECTORY ${target} PROPERTIES GENERATED TRUE)
  orvane_add_resources(${target} ${CMAKE_SOURCE_DIR}/resources/OrvaneMedia.rc ${ORVANE_ART_RC})
  add_dependencies(${target}_OrvaneMedia_rc default_skins)
endfunction()
