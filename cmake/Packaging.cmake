# A Debian package of both programs: `cpack -G DEB` in the build folder
# writes orvanta-scanner_VERSION_ARCH.deb. It installs under /usr: the two
# programs, their manual pages, the desktop entry, the .orv file type, the
# icon and bash completion for orvanta-scan.
set(CPACK_PACKAGE_NAME "orvanta-scanner")
set(CPACK_PACKAGE_VENDOR "Orvanta Studio")
set(CPACK_PACKAGE_CONTACT "Orvanta Studio <support@orvanta-studio.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checker for Orvanta adventure game projects")
set(CPACK_PACKAGE_DESCRIPTION
    "Checks that an Orvanta game project's files belong together and reports where each\n\
game flag is tested or changed, which flags are unused, and which resource files are\n\
missing or unused. orvanta-scanner is the desktop program; orvanta-scan prints the\n\
same reports for scripts and build pipelines.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "devel")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orvanta-studio.example/scanner")
# The library dependencies are read from the programs themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")

set(CPACK_GENERATOR "DEB")
include(CPack)
