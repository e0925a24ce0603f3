# `make package`: a Debian package of what `cmake --install` puts under /usr, with the
# dependencies that dpkg-shlibdeps reads from the programs' libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME arcavio)
set(CPACK_PACKAGE_VENDOR "The Arcavio developers")
set(CPACK_PACKAGE_CONTACT "The Arcavio developers <arcavio@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian ships binaries without their debugging information.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front-end for the MAME arcade emulator")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Arcavio keeps any number of named MAME configurations, each with its own
emulator, directories and video, input and sound options, edits them in a
tabbed editor and runs one: it writes the emulator's option file, lets you
pick a game from your ROM directory under readable names, starts the emulator
and waits for it. Every text can be translated and the main window can be
skinned.

Arcavio never emulates anything itself: MAME must be installed separately.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its window-system plugins at run time, so no library names them: without
# qt6-qpa-plugins (only recommended by Qt) the program cannot open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "mame")

include(CPack)
