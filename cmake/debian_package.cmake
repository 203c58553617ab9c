# The Debian package (scripts/package): CPack's DEB generator over the
# install rules of this build tree, so the package holds exactly what
# `cmake --install` places, under /usr.
set(TAGMORA_PACKAGE_MAINTAINER "Tagmora maintainers <maintainers@users.noreply.c-seed-0508fc17.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tagmora)
set(CPACK_PACKAGE_VENDOR Tagmora)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rename herbarium specimen photographs after their barcode label")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tagmora goes through a folder of JPEG photographs of herbarium sheets,
reads the Code 39 or Code 128 barcode label on each, checks the text
against a format string and renames the photograph, and its raw camera
files, to the catalogue number. A photograph without a readable label
takes the previous one's number plus a suffix. Every run is logged and
can be undone or exported for a collection database.

The package holds the desktop program tagmora and the command
tagmora-batch.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TAGMORA_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (dpkg-dev; CPack finds the programs with `file`) names the
# runtime package of every library the programs link (libqt6widgets6,
# libjpeg62-turbo, libzbar0, libc6, ...), with the lowest versions their
# symbols need.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
