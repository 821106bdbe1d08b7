# Installs the build as a packager would (`cmake --install` with a prefix and
# DESTDIR), then checks that every file is in place, that the installed tool
# runs, and that the desktop entry and the AppStream metainfo pass their
# validators (without the network).
#   -DBUILD_DIR=<build>  -DFILES=<list of paths below the prefix>  -DAPP_ID=<id>
set(stage ${BUILD_DIR}/install-test)
set(prefix /opt/kelvane-test)
file(REMOVE_RECURSE ${stage})

set(ENV{DESTDIR} ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
unset(ENV{DESTDIR})
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${err}")
endif()
set(root ${stage}${prefix})

file(STRINGS ${FILES} expected)
foreach(f ${expected})
    if(NOT EXISTS ${root}/${f})
        message(SEND_ERROR "not installed: ${prefix}/${f}")
    endif()
endforeach()
# Nothing lands outside the prefix.
file(GLOB_RECURSE everything LIST_DIRECTORIES false RELATIVE ${stage} ${stage}/*)
foreach(f ${everything})
    string(FIND "/${f}" "${prefix}/" at)
    if(NOT at EQUAL 0)
        message(SEND_ERROR "installed outside the prefix: /${f}")
    endif()
endforeach()

execute_process(COMMAND ${root}/bin/kelvane-tool --help RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(SEND_ERROR "the installed kelvane-tool does not run (exit status ${rc})")
endif()

find_program(desktop_validate desktop-file-validate REQUIRED)
find_program(appstreamcli appstreamcli REQUIRED)
execute_process(COMMAND ${desktop_validate} ${root}/share/applications/${APP_ID}.desktop
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(SEND_ERROR "desktop-file-validate: ${out}")
endif()
execute_process(COMMAND ${appstreamcli} validate --no-net ${root}/share/metainfo/${APP_ID}.metainfo.xml
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(SEND_ERROR "appstreamcli validate: ${out}")
endif()
