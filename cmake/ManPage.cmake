# Writes the man page: TEMPLATE's prose around the sections that PROGRAM prints from its own option
# definitions, into OUTPUT and, compressed as Debian installs man pages, OUTPUT.gz.
# Wants PROGRAM, TEMPLATE, OUTPUT, VERSION, DATE and DATADIR.
foreach(section synopsis commands options categories)
    execute_process(COMMAND ${PROGRAM} --man-page ${section} OUTPUT_VARIABLE text RESULT_VARIABLE result
        OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${PROGRAM} --man-page ${section} failed (${result})")
    endif()
    string(TOUPPER ${section} name)
    set(${name} "${text}")
endforeach()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
# -n keeps the name and time out of the header, so that the same page compresses to the same bytes.
execute_process(COMMAND gzip -9nc ${OUTPUT} OUTPUT_FILE ${OUTPUT}.gz RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip ${OUTPUT} failed (${result})")
endif()
