# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in the build folder makes
# brindle_<version>_<arch>.deb. Its dependencies on the Qt and C++ runtime
# packages come from dpkg-shlibdeps, which reads the programs' libraries.

set(CPACK_PACKAGE_NAME "brindle")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Brindle developers")
set(CPACK_PACKAGE_CONTACT "Brindle developers <brindle@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "finds corrupt files in a text corpus")
set(CPACK_PACKAGE_DESCRIPTION
    "Brindle checks a folder of text files against a few known-good texts and\n"
    "lists every suspect file with its reason: text much shorter than the file\n"
    "(binary junk, a lost byte-order mark, text cut at a NUL), or letter-pair\n"
    "frequencies unlike the references'. It has a window (brindle) and a\n"
    "command-line scanner (brindle-scan) with the same verdicts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "text")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
