# The Debian package (`make package`, or cpack -G DEB in the build folder): everything
# `cmake --install` puts under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME printset)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "printset")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for receipt printers")
# Lines of the long description stay within 79 characters, as Debian's tools expect.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "printset sets a receipt printer's baud rate, code page and six-digit\n"
    "string, programs its firmware from a checked image and downloads one-bit\n"
    "logos made from picture files into its non-volatile memory, over a serial\n"
    "line or UDP. The package holds the window (printset), the same operations\n"
    "for scripts (printset-cli) and a simulated printer for trying the tool\n"
    "without hardware (printer-sim).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "printset maintainers <maintainers@printset.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the libraries the programs link (Qt, the C++ runtime); plugins are
# loaded at run time, so the ones the window relies on are named here: the picture
# formats beyond Qt's built-in ones (TIFF, WebP, ...).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins")
# The completion of printset-cli is loaded by bash-completion.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion")

include(CPack)
