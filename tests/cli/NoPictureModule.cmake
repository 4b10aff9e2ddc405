# Runs a copy of the tool in a folder without the picture module: chart and export-html with its picture
# fail with status 1 and say what is missing; summary and export-html --no-picture work as ever.
#
#   cmake -DCLI=<corvane4-cli> -DREPORT=<report> -DWORK_DIR=<empty folder to use> [-DEMULATOR=<wine64>]
#         -P NoPictureModule.cmake

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/bin")
file(COPY "${CLI}" DESTINATION "${WORK_DIR}/bin")
get_filename_component(name "${CLI}" NAME)
set(tool "${WORK_DIR}/bin/${name}")

foreach(case "chart|chart is not available" "export-html|give export-html --no-picture for the page alone")
    string(REPLACE "|" ";" case "${case}")
    list(GET case 0 command)
    list(GET case 1 ending)
    execute_process(COMMAND ${EMULATOR} "${tool}" ${command} "${REPORT}" -o "${WORK_DIR}/out"
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 1 OR NOT err MATCHES "^corvane4-cli cannot draw pictures: corvane4-pictures[^ ]* is neither beside the program nor in .*; ${ending}\n$")
        message(FATAL_ERROR "${command} without the module: status ${status}, '${err}'")
    endif()
    if(EXISTS "${WORK_DIR}/out")
        message(FATAL_ERROR "${command} without the module wrote a file")
    endif()
endforeach()

foreach(command "summary" "export-html;--no-picture;-o;-")
    execute_process(COMMAND ${EMULATOR} "${tool}" ${command} "${REPORT}"
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0 OR out STREQUAL "")
        message(FATAL_ERROR "${command} without the module: status ${status}, '${err}'")
    endif()
endforeach()
