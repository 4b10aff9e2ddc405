# Installs the build into a fresh folder and checks that every file is in its place, and that
# desktop-file-validate (when the machine has it) accepts the desktop entry, and that the installed tool
# finds its picture module.
#
#   cmake -DBUILD_DIR=<build folder> -DPREFIX=<folder to install into> -DPICTURES=<the module, relative>
#         -DREPORT=<a report to draw> -P CheckInstall.cmake

foreach(var BUILD_DIR PREFIX PICTURES REPORT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "CheckInstall.cmake needs -D${var}=...")
    endif()
endforeach()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(expected
    bin/corvane4
    bin/corvane4-cli
    ${PICTURES}
    share/applications/corvane4.desktop
    share/icons/hicolor/scalable/apps/corvane4.svg
    share/man/man1/corvane4.1.gz
    share/man/man1/corvane4-cli.1.gz
    share/doc/corvane4/copyright
    share/doc/corvane4/changelog.gz)
foreach(size 16 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/corvane4.png)
endforeach()
foreach(file IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
execute_process(COMMAND "${PREFIX}/bin/corvane4-cli" --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
if(NOT status EQUAL 0 OR NOT help MATCHES "^Usage: corvane4-cli")
    message(FATAL_ERROR "the installed corvane4-cli does not run: ${status}")
endif()
execute_process(COMMAND "${PREFIX}/bin/corvane4-cli" chart "${REPORT}" -o "${PREFIX}/chart.png"
                RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT EXISTS "${PREFIX}/chart.png")
    message(FATAL_ERROR "the installed corvane4-cli does not draw: ${status} ${err}")
endif()

file(READ "${PREFIX}/share/applications/corvane4.desktop" entry)
foreach(line "Exec=corvane4 %F" "Icon=corvane4" "Categories=Office;Finance;" "MimeType=text/html;")
    string(FIND "${entry}" "${line}\n" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "the desktop entry lacks the line ${line}")
    endif()
endforeach()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/corvane4.desktop"
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0 OR NOT "${out}" STREQUAL "")
        message(FATAL_ERROR "desktop-file-validate: ${out}")
    endif()
else()
    message(STATUS "desktop-file-validate not found: the desktop entry is not validated")
endif()
