# The Debian package (cpack -G DEB, or scripts/package): what cmake --install puts under /usr,
# stripped, with the shared libraries' packages computed by dpkg-shlibdeps and the Qt plugins
# it loads at run time (which no linker sees) named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillftp)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The QuillFtp developers")
set(CPACK_PACKAGE_CONTACT "The QuillFtp developers <developers@quillftp.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "FTP, FTPS and SFTP client with parallel connections")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "QuillFtp connects to one server and shows a local and a remote folder side
by side. Files and whole trees move through a queue worked by up to 255
connections at once; big downloads are split into ranges fetched in parallel
into one file, and whatever a run leaves is kept to resume after a restart.
It talks to servers directly, through FTP proxies and SOCKS 4, 4A and 5, in
passive and active mode, over TLS, and over SSH (SFTP); it compares and
synchronizes folders from a plan the user reviews, and keeps a site book.

The package holds the window (quillftp) and a command-line client for
scripts (quillftp-cli).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # quillftp_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by name at run time: the SQLite driver of the history, the X11 and SVG plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
