# Runs one golden case of the command-line tool and compares what it printed, byte for byte.
#
#   cmake -DCLI=<corvane4-cli> -DCASE_DIR=<tests/cli/case> -DACTUAL_DIR=<folder for the output> -P RunGoldenCase.cmake
#
# A Windows build passes -DEMULATOR=<wine64>: the tool runs under it, and the folders it names are on
# Wine's drive Z:, written with backslashes.
#
# A case folder holds:
#   cmd        the arguments, one a line (report paths relative to the case folder; a report that several
#              cases read lies once in the shared folder ../data)
#   expected   the bytes expected on standard output; "<case>" and "<data>" stand for the absolute paths of
#              the case folder and of the shared folder, which the summary heading names
#   stderr     (optional) the bytes expected on standard error; without it standard error must stay empty
#   status     (optional) the expected exit status; 0 without it
# and the input reports of the case alone. The tool runs with the case folder as its working directory.
# What it printed is kept in ACTUAL_DIR (stdout, stderr, status) so that a changed output can be inspected.

foreach(var CLI CASE_DIR ACTUAL_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "RunGoldenCase.cmake needs -D${var}=...")
    endif()
endforeach()

file(REAL_PATH "${CASE_DIR}" caseDir)
file(REAL_PATH "${caseDir}/../data" dataDir)
file(STRINGS "${caseDir}/cmd" args)

execute_process(
    COMMAND ${EMULATOR} "${CLI}" ${args}
    WORKING_DIRECTORY "${caseDir}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err)

foreach(stream out err)
    string(REPLACE "${caseDir}/" "<case>/" ${stream} "${${stream}}")
    string(REPLACE "${dataDir}/" "<data>/" ${stream} "${${stream}}")
    if(EMULATOR)
        foreach(dir case data)
            string(REPLACE "/" "\\" windowsDir "Z:${${dir}Dir}/")
            string(REPLACE "${windowsDir}" "<${dir}>/" ${stream} "${${stream}}")
        endforeach()
    endif()
endforeach()

file(MAKE_DIRECTORY "${ACTUAL_DIR}")
file(WRITE "${ACTUAL_DIR}/stdout" "${out}")
file(WRITE "${ACTUAL_DIR}/stderr" "${err}")
file(WRITE "${ACTUAL_DIR}/status" "${status}\n")

set(expectedStatus 0)
if(EXISTS "${caseDir}/status")
    file(STRINGS "${caseDir}/status" expectedStatus LIMIT_COUNT 1)
endif()
set(expectedErr "")
if(EXISTS "${caseDir}/stderr")
    file(READ "${caseDir}/stderr" expectedErr)
endif()
file(READ "${caseDir}/expected" expectedOut)

set(failures "")
if(NOT status STREQUAL expectedStatus)
    string(APPEND failures "exit status: expected ${expectedStatus}, got ${status}\n")
endif()
if(NOT out STREQUAL expectedOut)
    string(APPEND failures "standard output differs\n--- expected\n${expectedOut}--- actual\n${out}---\n")
endif()
if(NOT err STREQUAL expectedErr)
    string(APPEND failures "standard error differs\n--- expected\n${expectedErr}--- actual\n${err}---\n")
endif()
if(failures)
    # A plain message keeps the lines as they are; a fatal error would re-wrap them.
    message("${failures}")
    message(FATAL_ERROR "golden case ${caseDir} failed; the actual output is in ${ACTUAL_DIR}")
endif()
