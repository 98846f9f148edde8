# Two Debian packages, split the way Debian splits a command line from its
# desktop program: `cpack -G DEB` in the build folder writes
#   orvanta-scan_VERSION_ARCH.deb     (component cli) the command line, its
#       manual page and bash completion, and under /usr/share/orvanta-scan/
#       the JSON schema of its reports and the problem matcher of its check
#       lines; it needs the C and C++ libraries and Graphviz's (for the
#       puzzle chart's SVG), so a CI runner installs no Qt for it;
#   orvanta-scanner_VERSION_ARCH.deb  (component desktop, when the desktop is
#       built) the desktop program, its manual page, desktop entry, the .orv
#       file type and the icon; it runs no orvanta-scan, so it does not
#       depend on it.
# Each Depends is read from its own binaries by dpkg-shlibdeps. Each package
# carries the copyright file (DEP-5) and the changelog Debian wants.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME "orvanta-scanner")
set(CPACK_PACKAGE_VENDOR "Orvanta Studio")
set(CPACK_PACKAGE_CONTACT "Orvanta Studio <support@orvanta-studio.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli)
if(ORVANTA_BUILD_UI)
  list(APPEND CPACK_COMPONENTS_ALL desktop)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Both come from one source tree: lintian and dpkg see them as one source's.
set(CPACK_DEBIAN_PACKAGE_SOURCE "orvanta-scanner")
set(CPACK_DEBIAN_PACKAGE_SECTION "devel")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orvanta-studio.example/scanner")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# No CPACK_PACKAGE_DESCRIPTION_SUMMARY: CPack would put it on top of each
# component's own. Extended lines stay under 80 columns (lintian).
set(CPACK_DEBIAN_CLI_PACKAGE_NAME "orvanta-scan")
set(CPACK_DEBIAN_CLI_DESCRIPTION
    "command-line checker for Orvanta adventure game projects
Checks that an Orvanta game project's files belong together and prints its
reports for scripts and build pipelines: where each game flag is tested or
changed, which flags are unused, which resource files are missing or unused.
Its check command writes the findings as compiler-style lines, JSON, SARIF
or GitHub workflow commands, and exits non-zero on the classes asked for.

This package holds the orvanta-scan command, its manual page, bash
completion, the JSON schema of its reports and a problem matcher for CI
systems. It needs no Qt: the desktop program is in the orvanta-scanner
package.")
set(CPACK_DEBIAN_CLI_PACKAGE_SUGGESTS "bash-completion")
# Up to 3.1.0, orvanta-scanner held orvanta-scan too (Debian Policy 7.6.1).
set(CPACK_DEBIAN_CLI_PACKAGE_BREAKS "orvanta-scanner (<< ${PROJECT_VERSION})")
set(CPACK_DEBIAN_CLI_PACKAGE_REPLACES "orvanta-scanner (<< ${PROJECT_VERSION})")

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME "orvanta-scanner")
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
    "desktop checker for Orvanta adventure game projects
Checks that an Orvanta game project's files belong together and shows where
each game flag is tested or changed, which flags are unused, and which
resource files are missing or unused. Reports are copied, saved as RTF or
printed; a flag map shows how all 255 flags are used, and a files manager
previews unused pictures and sends unused files to the Trash.

This package holds the orvanta-scanner desktop program (Qt 6), its manual
page, desktop entry, the .orv file type and its icon. The command line for
scripts is in the orvanta-scan package.")

# The copyright file and the changelog, in each package. The version has no
# Debian revision (the packages are built from this tree, not from an
# upstream release), so Debian calls them native and the changelog is
# changelog.gz (Policy 12.7), gzip -9n as lintian wants.
set(changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
                   COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
                   DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
                   VERBATIM)
add_custom_target(orvanta-changelog ALL DEPENDS ${changelog})
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} upper)
  set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog} DESTINATION ${docdir} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR "DEB")
include(CPack)
