# Installs the built project into a fresh prefix, builds the consumer program against it with
# find_package and runs it on the example catalog.
# Wants BUILD_DIR (the project's build), WORK_DIR (scratch), SOURCE_DIR (tests/install), FIXTURES_DIR, CASES_DIR.
file(REMOVE_RECURSE ${WORK_DIR})

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}\n${output}")
    endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/consumer -B ${WORK_DIR}/build -DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix
    -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/consumer ${FIXTURES_DIR}/tiny/snapshot.json ${FIXTURES_DIR}/tiny/expected ${WORK_DIR}/out
    ${FIXTURES_DIR}/recreate/sqlserver-shapes.json
    ${CASES_DIR}/cli/recreate-sqlserver-shapes-objects/expected/out/Tables/dbo.Customer.sql
    ${CASES_DIR}/cli/recreate-sqlserver-shapes/expected/out ${WORK_DIR}/recreate)
