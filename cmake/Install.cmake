# Installs libscripts with its public headers and a package config (find_package(scripts), target
# scripts::scripts), the graphical backend, the command-line host with its man page and shell completions,
# and the sample files of its demo. The components are the Debian packages of cmake/Package.cmake.
include(CMakePackageConfigHelpers)

# The headers of the lower layers that the public headers include, under include/scripts/<layer>.
set(SCRIPTS_PUBLIC_LAYER_HEADERS platform/AfxTypes.h platform/Exceptions.h platform/String.h platform/Sync.h
    backend/Database.h scripting/ScriptObserver.h ui/Ui.h ui/Window.h model/CatalogModel.h model/ModelLoader.h
    model/ModelKey.h model/ModelError.h recreate/RecreateScript.h)

install(TARGETS scripts EXPORT scriptsTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Library NAMELINK_COMPONENT Development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/scripts DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    COMPONENT Development FILES_MATCHING PATTERN "*.h")
foreach(header ${SCRIPTS_PUBLIC_LAYER_HEADERS})
    get_filename_component(layer ${header} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/src/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/scripts/${layer}
        COMPONENT Development)
endforeach()

set(SCRIPTS_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/scripts)
install(EXPORT scriptsTargets NAMESPACE scripts:: DESTINATION ${SCRIPTS_CMAKE_DIR} COMPONENT Development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/scriptsConfig.cmake.in
    ${PROJECT_BINARY_DIR}/scriptsConfig.cmake INSTALL_DESTINATION ${SCRIPTS_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/scriptsConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/scriptsConfig.cmake ${PROJECT_BINARY_DIR}/scriptsConfigVersion.cmake
    DESTINATION ${SCRIPTS_CMAKE_DIR} COMPONENT Development)

# Loaded at run time by its SONAME, so no unversioned link: there is nothing to link against.
if(TARGET scripts_gui_shared)
    install(TARGETS scripts_gui_shared LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Gui NAMELINK_SKIP)
endif()

set(SQLSCRIPTS_HOST_DIR ${PROJECT_SOURCE_DIR}/tools/sqlscripts)
install(TARGETS sqlscripts RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Host)
install(FILES ${PROJECT_BINARY_DIR}/tools/sqlscripts/sqlscripts.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
    COMPONENT Host)
install(FILES ${SQLSCRIPTS_HOST_DIR}/completion.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME sqlscripts COMPONENT Host)
install(FILES ${SQLSCRIPTS_HOST_DIR}/completion.zsh DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions
    RENAME _sqlscripts COMPONENT Host)
# The demo's two versions of a database, and the SQL that made them, with which a reader follows the README
# on a server of their own.
install(FILES ${PROJECT_SOURCE_DIR}/samples/sample.json ${PROJECT_SOURCE_DIR}/samples/shop-v1.json
    ${PROJECT_SOURCE_DIR}/samples/shop-v2.json ${PROJECT_SOURCE_DIR}/samples/shop-v1.sql
    ${PROJECT_SOURCE_DIR}/samples/shop-v2.sql DESTINATION ${CMAKE_INSTALL_DATADIR}/sqlscripts/samples COMPONENT Host)
