# What `cmake --install` puts in place, below the prefix (and DESTDIR when
# set): the programs in bin/, the help document and the language files in
# share/kelvane/, and what a desktop needs to list the program in its menus
# and software centre: the desktop entry, the icon in the hicolor theme at
# every size resources/ holds, and the AppStream metainfo.
#
# The global property KELVANE_INSTALLED_FILES collects every installed file,
# relative to the prefix, for the test that installs into a temporary prefix;
# install rules elsewhere add theirs with
#   set_property(GLOBAL APPEND PROPERTY KELVANE_INSTALLED_FILES <path>...)
set(app_id org.kelvane.Kelvane)
set(res ${PROJECT_SOURCE_DIR}/resources)
set(KELVANE_INSTALLED_FILES "")

if(TARGET kelvane)
    install(TARGETS kelvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    list(APPEND KELVANE_INSTALLED_FILES ${CMAKE_INSTALL_BINDIR}/kelvane)
endif()
install(TARGETS kelvane-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
list(APPEND KELVANE_INSTALLED_FILES ${CMAKE_INSTALL_BINDIR}/kelvane-tool)

# Setup and the application manager's stand-in it hands the package to. Their
# build names are the handheld's; installed, they carry the program's name.
if(TARGET kelvane-setup)
    install(PROGRAMS ${CMAKE_BINARY_DIR}/Setup DESTINATION ${CMAKE_INSTALL_BINDIR}
            RENAME kelvane-setup)
    list(APPEND KELVANE_INSTALLED_FILES ${CMAKE_INSTALL_BINDIR}/kelvane-setup)
endif()
if(TARGET appmgr)
    install(PROGRAMS $<TARGET_FILE:appmgr> DESTINATION ${CMAKE_INSTALL_BINDIR}
            RENAME kelvane-appmgr)
    list(APPEND KELVANE_INSTALLED_FILES ${CMAKE_INSTALL_BINDIR}/kelvane-appmgr)
endif()

# The help document and the language files, as the program brings them to a
# device's folder on its first start.
file(GLOB language_files ${res}/*.lng)
install(FILES ${res}/Kelvane.htm ${language_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/kelvane)
foreach(f ${res}/Kelvane.htm ${language_files})
    get_filename_component(name ${f} NAME)
    list(APPEND KELVANE_INSTALLED_FILES ${CMAKE_INSTALL_DATADIR}/kelvane/${name})
endforeach()

if(TARGET kelvane)
    install(FILES ${res}/desktop/${app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${res}/desktop/${app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    list(APPEND KELVANE_INSTALLED_FILES ${CMAKE_INSTALL_DATADIR}/applications/${app_id}.desktop
         ${CMAKE_INSTALL_DATADIR}/metainfo/${app_id}.metainfo.xml)
    # One icon per size: resources/kelvane<size>.png.
    file(GLOB icons ${res}/kelvane[0-9]*.png)
    foreach(icon ${icons})
        string(REGEX REPLACE ".*kelvane([0-9]+)\\.png$" "\\1" px ${icon})
        set(dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${px}x${px}/apps)
        install(FILES ${icon} DESTINATION ${dir} RENAME ${app_id}.png)
        list(APPEND KELVANE_INSTALLED_FILES ${dir}/${app_id}.png)
    endforeach()
endif()

set_property(GLOBAL APPEND PROPERTY KELVANE_INSTALLED_FILES ${KELVANE_INSTALLED_FILES})

# The test installs the build into a temporary DESTDIR under a prefix of its
# own and checks every file and the desktop files against their validators.
if(KELVANE_BUILD_TESTS AND TARGET kelvane)
    get_property(all_files GLOBAL PROPERTY KELVANE_INSTALLED_FILES)
    list(JOIN all_files "\n" listing)
    file(WRITE ${CMAKE_BINARY_DIR}/installed_files.txt "${listing}\n")
    add_test(NAME install_layout
             COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                     -DFILES=${CMAKE_BINARY_DIR}/installed_files.txt -DAPP_ID=${app_id}
                     -P ${PROJECT_SOURCE_DIR}/tests/install/check_install.cmake)
endif()
