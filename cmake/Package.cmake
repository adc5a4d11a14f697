# Debian packages of the install components (make deb: cpack -G DEB in a build configured for /usr):
# sqlscripts (the command, its man page and completions, the sample catalog), libscripts (the shared
# module), libscripts-dev (headers, CMake package) and libscripts-gui (the windows on wxWidgets, which only
# export --dialog loads, so that the command does not pull a desktop toolkit in). dpkg-shlibdeps computes
# what each needs from the system; the packages among themselves need the same version.
set(SCRIPTS_DEB_MAINTAINER "sqlscripts maintainers <maintainers@users.noreply.c-seed-e0ba9602.example>"
    CACHE STRING "Maintainer field of the Debian packages")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sqlscripts)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${SCRIPTS_DEB_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Host Library Development)
if(TARGET scripts_gui_shared)
    list(APPEND CPACK_COMPONENTS_ALL Gui)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The control files get Debian's modes (0644, scripts 0755) rather than their source's, which a checkout made
# under umask 002 leaves group-writable.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_DEBIAN_PACKAGE_SOURCE sqlscripts)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# A shlibs file for each library package, so that programs built against them depend on the same version.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# dpkg-shlibdeps finds libscripts.so.0 in the library's package tree (it runs in each package's tree).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ../Library${CMAKE_INSTALL_FULL_LIBDIR})

set(CPACK_DEBIAN_HOST_PACKAGE_NAME sqlscripts)
set(CPACK_DEBIAN_HOST_PACKAGE_SECTION database)
set(CPACK_DEBIAN_HOST_PACKAGE_RECOMMENDS tdsodbc)
set(CPACK_DEBIAN_HOST_PACKAGE_SUGGESTS libscripts-gui)
set(CPACK_COMPONENT_HOST_DEPENDS Library)
set(CPACK_DEBIAN_HOST_DESCRIPTION "T-SQL scripts that recreate a SQL Server database's objects
sqlscripts reads the catalog of a Microsoft SQL Server database over ODBC, or
from a recorded catalog snapshot, and writes T-SQL scripts that recreate its
objects: one file per object category (tables, keys, indexes, checks, views,
triggers, procedures, functions, user types, schemas, full text) or per
object, the script of one object, or the column list of a table or view;
with --recreate, scripts that rebuild the whole database as it is, in the
order they apply, and with --data its rows as INSERT statements.
.
The ODBC driver for SQL Server is FreeTDS (tdsodbc); export --dialog shows
its options in a window when libscripts-gui is installed.")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libscripts)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_LIBRARY_DESCRIPTION "library that scripts the objects of a SQL Server database
libscripts reads the catalog of a Microsoft SQL Server database through an
ODBC connection and returns T-SQL scripts that recreate its objects: an
export run that writes one file per object category, sequentially or on
worker threads, and the script of one named object or the column list of a
table or view.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libscripts-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Library)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "development files of libscripts
The headers of libscripts and its CMake package: find_package(scripts) and
the target scripts::scripts.")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME libscripts-gui)
set(CPACK_DEBIAN_GUI_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_GUI_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_COMPONENT_GUI_DEPENDS Library)
set(CPACK_DEBIAN_GUI_DESCRIPTION "windows for the dialogs of libscripts, on wxWidgets
The options dialog, the replace question and the message boxes of libscripts
as real windows. Programs load it only when they show a window, as
sqlscripts export --dialog does.")

# Every package carries the copyright file and the changelog, as Debian wants them; a plain
# cmake --install leaves them out.
string(TIMESTAMP SCRIPTS_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
    COMMAND gzip -9nkf ${PROJECT_BINARY_DIR}/debian/changelog
    DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog)
add_custom_target(scripts_deb_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)
foreach(component ${CPACK_COMPONENTS_ALL})
    string(TOUPPER ${component} upper)
    install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}
        COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

include(CPack)
