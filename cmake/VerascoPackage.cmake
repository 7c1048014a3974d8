# SPDX-License-Identifier: MIT
# The Debian package, made by `cpack` (scripts/package). It holds what `cmake --install` installs;
# dpkg-shlibdeps finds the libraries the programs link, and the plug-ins Qt loads at run time for
# TIFF and TGA pictures and for slide audio are named by hand, as no library link shows them.
# Installing and packing take what the build made: build first (`cmake --build`), as scripts/package
# does; `make install` and cpack then skip the walk over every target of the tree.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME verasco)
set(CPACK_PACKAGE_VENDOR "Morvant Imaging")
set(CPACK_PACKAGE_CONTACT "${VERASCO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compose, play, print and export picture slide shows")
# Debian wants the lines of the long description to fit a terminal of 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
  "Verasco turns a folder of pictures into a slide show of up to 500 slides,
each with a display time, a sound and a caption. It plays the show full size,
prints it as a contact sheet or a journal, saves it as a show document and
exports it as one self-running file. It reads BMP, JPEG, PNG, TGA, TIFF, PCX
and QPX pictures. The package also holds verasco-lha, a command-line LHA
archiver.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
# Qt's own dialogs and buttons in the desktop's language; the program's texts are inside it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
