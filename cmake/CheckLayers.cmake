# The source tree is layered: host -> api, gui -> export -> scripting -> catalog -> backend, ui -> platform;
# beside the module's layers, compare -> recreate -> model -> backend, and recreate reads T-SQL text with
# scripting's helpers; apply (running scripts against a database) -> backend, and it reads what a CREATE
# makes from recreate's kinds table; jobs (what a program runs: exports into files, apply, diff) -> export,
# compare, apply.
# A folder may include its own headers and those of the folders beneath it, never one above; configuring
# fails on the first include that breaks this, so the layering cannot erode unnoticed.
set(SCRIPTS_LAYER_platform platform)
set(SCRIPTS_LAYER_backend platform backend)
set(SCRIPTS_LAYER_ui platform ui)
set(SCRIPTS_LAYER_resources platform ui resources)
set(SCRIPTS_LAYER_catalog platform backend catalog)
set(SCRIPTS_LAYER_scripting platform backend ui catalog scripting)
set(SCRIPTS_LAYER_export platform backend ui catalog scripting export scripts)
set(SCRIPTS_LAYER_api platform backend ui catalog scripting export api scripts)
set(SCRIPTS_LAYER_gui platform backend ui export gui scripts)
set(SCRIPTS_LAYER_model platform backend model)
set(SCRIPTS_LAYER_recreate platform backend ui catalog scripting model recreate)
set(SCRIPTS_LAYER_compare platform backend ui catalog scripting model recreate compare)
set(SCRIPTS_LAYER_apply platform backend model recreate apply)
set(SCRIPTS_LAYER_jobs platform backend ui catalog scripting export model recreate compare apply jobs scripts)

foreach(layer platform backend ui resources catalog scripting export api gui model recreate compare apply jobs)
    file(GLOB layer_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${layer}/*.cpp ${PROJECT_SOURCE_DIR}/src/${layer}/*.h)
    foreach(source ${layer_files})
        file(STRINGS ${source} includes REGEX "^#include \"[a-z]+/")
        foreach(line ${includes})
            string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" used "${line}")
            if(NOT used IN_LIST SCRIPTS_LAYER_${layer})
                message(FATAL_ERROR "${source}: the ${layer} layer may not include ${used}/ (${line})")
            endif()
        endforeach()
    endforeach()
endforeach()
