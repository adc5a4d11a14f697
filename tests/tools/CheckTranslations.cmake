# Every message the host marks for translation has its translation in each po/<language>.po: xgettext lists
# the messages of the sources, msgcmp fails on one a .po file lacks.
# cmake -DSOURCE_DIR=tools/sqlscripts -DWORK_DIR=<folder> -P CheckTranslations.cmake
file(GLOB sources ${SOURCE_DIR}/*.cpp)
file(GLOB languages ${SOURCE_DIR}/po/*.po)
execute_process(COMMAND xgettext --language=C++ --from-code=UTF-8 --keyword= --keyword=Tr --keyword=TrN:1,2
        --keyword=TrLater -o ${WORK_DIR}/sqlscripts.pot ${sources}
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "xgettext failed")
endif()
foreach(po ${languages})
    execute_process(COMMAND msgcmp ${po} ${WORK_DIR}/sqlscripts.pot RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${po} lacks the translations above")
    endif()
endforeach()
