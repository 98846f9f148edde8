include(GNUInstallDirs)

# Installs docs/man/NAME.1 in the package COMPONENT, with the project's
# version filled in and compressed as Debian installs manual pages.
function(orvanta_man_page name component)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${name}.1)
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${name}.1 ${page} @ONLY)
  add_custom_command(OUTPUT ${page}.gz
                     COMMAND gzip -9nc ${page} > ${page}.gz
                     DEPENDS ${page}
                     VERBATIM)
  add_custom_target(${name}-man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endfunction()
