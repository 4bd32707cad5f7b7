# `make package`: a Debian package of the installed tree (programs in /usr/bin, shipped files in
# /usr/share/tessaly). Its dependencies are the Debian packages of the shared libraries the programs
# link, found by dpkg-shlibdeps, and those of what Qt loads at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VENDOR "Norvane Software")
set(CPACK_PACKAGE_CONTACT "Norvane Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.norvane.com/")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tessaly keeps a private trader's local library of end-of-day price histories of stocks,
indices, funds and currency pairs, one comma-separated file per security, brings it up to
date from a quote service, and converts it into plain-text layouts and MetaStock databases.
The package holds the window (tessaly) and the command line for scripts (tessaly-cli).")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TESSALY_GUI)
    # Loaded by Qt at run time rather than linked: the SVG icon engine and image plugins.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
endif()

include(CPack)
