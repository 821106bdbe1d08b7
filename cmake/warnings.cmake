# The warnings every target of the project is built with. Each target links
# kelvane_warnings itself (PRIVATE, so the flags never leak to a target that
# does not ask), and the check at the end of the top-level CMakeLists.txt
# stops the configuration when one does not. Qt, GoogleTest and the other
# libraries come in as system include folders: what their own headers do is
# not reported.
#
# KELVANE_WERROR turns every warning into an error. CI sets it, so that a new
# warning fails there; a developer's build keeps going with the warning shown.
option(KELVANE_WERROR "Treat every compiler warning as an error" OFF)

add_library(kelvane_warnings INTERFACE)
target_compile_options(kelvane_warnings INTERFACE
    -Wall -Wextra -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast)
if(KELVANE_WERROR)
    target_compile_options(kelvane_warnings INTERFACE -Werror)
endif()

# The Qt screens turn text into a QString only where the code says which
# encoding the bytes are in (QStringLiteral, QLatin1StringView, fromUtf8).
add_library(kelvane_qt_text INTERFACE)
target_compile_definitions(kelvane_qt_text INTERFACE QT_NO_CAST_FROM_ASCII)

# Stops the configuration when a target that compiles sources does not link
# kelvane_warnings. The object libraries qt_add_resources makes hold only
# rcc's generated code, not ours.
function(kelvane_check_warnings dir)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
        get_target_property(type ${target} TYPE)
        get_target_property(qt_resource ${target} _qt_resource_name)
        if(qt_resource)
            continue()
        endif()
        if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
            get_target_property(libraries ${target} LINK_LIBRARIES)
            if(NOT "kelvane_warnings" IN_LIST libraries)
                message(FATAL_ERROR "${target} does not link kelvane_warnings")
            endif()
        endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(subdir ${subdirs})
        kelvane_check_warnings(${subdir})
    endforeach()
endfunction()
