# `cpack -G DEB` in the build folder makes kyv-cipher_VERSION_ARCH.deb from the install rules;
# its dependencies are read from the programs' shared libraries (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kyv-cipher)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kyv Cipher")
set(CPACK_PACKAGE_CONTACT "Kyv Cipher developers <developers@kyvcipher.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "encrypts and decrypts files and folders with a key")
set(CPACK_PACKAGE_DESCRIPTION
    "Kyv Cipher encrypts and decrypts files with a symmetric key, one file or batches over folders \
(wildcards, subfolders, in place with a purge of the original), and reports how random files are. \
The command-line tool kyv runs the same operations from a terminal or a script.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The MIME type, desktop entry and icons take effect through those packages' file triggers on
# /usr/share/mime/packages, /usr/share/applications and /usr/share/icons/hicolor; xdg-utils gives
# `xdg-mime`, and libfile-mimeinfo-perl the lookup it makes outside a desktop session.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "shared-mime-info, desktop-file-utils, hicolor-icon-theme, xdg-utils, libfile-mimeinfo-perl")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
include(CPack)
