# Installation layout and the Debian package (tools/package.sh builds it):
# both programs, the desktop entry with its icon, and as dependencies the Qt
# modules the programs link (found by dpkg-shlibdeps), the SQL drivers and
# translations they load at run time, and the fonts the documents use.
include(GNUInstallDirs)

# "install" and cpack take the programs as they are built; they do not build
# every test program first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS tavrin tavrin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TAVRIN_SHARED_LIBS)
  # The program's own libraries, private to it (the programs' run path names the folder).
  install(TARGETS tavrin_db tavrin_common tavrin_documents tavrin_reference tavrin_admin tavrin_projects
                  tavrin_prereg tavrin_applicants tavrin_reports tavrin_maintenance tavrin_app tavrin_cli
          LIBRARY DESTINATION lib/tavrin)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/src)
endif()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tavrin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tavrin.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Norvad")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sales of the units of housing projects (desktop client and command-line tool)")
set(CPACK_PACKAGE_DESCRIPTION "Tavrin records housing projects, their units, storage rooms and parking spaces, \
the applicants who buy them with their payments, loans and documents, and \
pre-registrations; it prints the organisation's documents and builds reports \
by province, county and project. It works on an SQLite data file or a shared \
PostgreSQL server. tavrin-cli installs the schema, imports divisions and checks \
the consistency of the stored data.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tavrin maintainers <tavrin@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_FILE_NAME "tavrin_${PROJECT_VERSION}_amd64.deb")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libqt6sql6-psql, qt6-translations-l10n, fonts-noto-core, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-odbc, tdsodbc, qt6-gtk-platformtheme")
include(CPack)
