# Fails when a source file differs from what clang-format makes of it.
file(GLOB_RECURSE files
    "${ROOT}/src/*.cpp" "${ROOT}/src/*.h"
    "${ROOT}/tests/*.cpp" "${ROOT}/tests/*.h"
    "${ROOT}/bench/*.cpp" "${ROOT}/bench/*.h"
    "${ROOT}/resources/*.cpp")
execute_process(
    COMMAND "${CLANG_FORMAT}" --dry-run --Werror --style=file ${files}
    WORKING_DIRECTORY "${ROOT}"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Some files are not formatted: run clang-format -i on them.")
endif()
