# `cmake --build build/release --target package` writes a Debian package of what
# `cmake --install` puts in place: build/release/orvanel_VERSION_ARCH.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanel)
set(CPACK_PACKAGE_VENDOR "The ORVANEL developers")
set(CPACK_PACKAGE_CONTACT "The ORVANEL developers <orvanel@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop organiser: a diary, a phone book and a web browser")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "ORVANEL holds diary windows (formatted text, one RTF file a day), phone book
windows (contacts in an SQLite file or on a PostgreSQL server, with vCard and
CSV import and export) and web browser windows in one main window. Nothing
typed is lost to a crash, and every window works from the keyboard and with a
screen reader. The diary and the phone book are kept in the user's own data
folder.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the programs and the browser module link, worked out from the binaries;
# the Qt plugins that are loaded at run time are named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql, hardinfo, fonts-dejavu-core, fonts-urw-base35")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
