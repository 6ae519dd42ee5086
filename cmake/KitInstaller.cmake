# Installers built from the packaging kit (packaging/kalvex.nsh) with
# makensis, which runs the kit's manifest generator with the build's python3.
#   add_kit_installer(OUTPUT <exe> SCRIPT <nsi> STAGING <folder> STAMP <file>
#                     [DEFINES -D...] [DEPENDS ...] [COMMENT text])
# STAMP is the file the rule that fills STAGING writes last, so the installer
# is made again whenever the staging folder is.
find_program(MAKENSIS makensis REQUIRED)
find_program(PYTHON3 python3 REQUIRED)
set(KIT_SOURCES ${CMAKE_SOURCE_DIR}/packaging/kalvex.nsh ${CMAKE_SOURCE_DIR}/packaging/make_manifest.py)

function(add_kit_installer)
  cmake_parse_arguments(arg "" "OUTPUT;SCRIPT;STAGING;STAMP;COMMENT" "DEFINES;DEPENDS" ${ARGN})
  add_custom_command(OUTPUT ${arg_OUTPUT}
    COMMAND ${MAKENSIS} -INPUTCHARSET UTF8 -V2 -DKALVEX_PYTHON=${PYTHON3} -DOUTFILE=${arg_OUTPUT}
            -DSTAGING=${arg_STAGING} ${arg_DEFINES} ${arg_SCRIPT}
    DEPENDS ${arg_SCRIPT} ${KIT_SOURCES} ${arg_STAMP} ${arg_DEPENDS}
    COMMENT "${arg_COMMENT}"
    VERBATIM)
endfunction()
