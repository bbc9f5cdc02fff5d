# Where everything goes when installed; every path comes from GNUInstallDirs,
# so a distribution's prefix and layout apply.
include(GNUInstallDirs)

set(_res ${CMAKE_SOURCE_DIR}/resources)

if(TARGET qelctl)
  install(TARGETS qelctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file(${_res}/man/qelctl.1.in ${CMAKE_BINARY_DIR}/man/qelctl.1 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/man/qelctl.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${_res}/completion/qelctl DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  install(FILES ${_res}/desktop/qelmorvane.thumbnailer DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
endif()

# The file types and their icons serve qelctl's thumbnails as well as the
# desktop program.
install(FILES ${_res}/mime/qelmorvane.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(DIRECTORY ${_res}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

if(TARGET qelmorvane)
  install(TARGETS qelmorvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file(${_res}/man/qelmorvane.1.in ${CMAKE_BINARY_DIR}/man/qelmorvane.1 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/man/qelmorvane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${_res}/desktop/${QEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${_res}/metainfo/${QEL_APP_ID}.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/metainfo/${QEL_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/metainfo/${QEL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${_res}/app/qelmorvane.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${QEL_APP_ID}.svg)
  # Only the languages translations/ holds; none, and nothing is installed.
  get_property(_qm_files GLOBAL PROPERTY QEL_QM_FILES)
  if(_qm_files)
    install(FILES ${_qm_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/qelmorvane/translations)
  endif()
endif()

# Named after the package rather than the project (DOCDIR), as Debian expects.
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${_res}/packaging/copyright
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/qelmorvane)

# A package's triggers refresh the desktop's caches; a plain install into a
# prefix (no DESTDIR) does it here, so the file types are known at once.
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    set(_data \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
    find_program(_qel_update_mime update-mime-database)
    if(_qel_update_mime)
      execute_process(COMMAND \${_qel_update_mime} \"\${_data}/mime\")
    endif()
    find_program(_qel_update_desktop update-desktop-database)
    if(_qel_update_desktop AND EXISTS \"\${_data}/applications\")
      execute_process(COMMAND \${_qel_update_desktop} -q \"\${_data}/applications\")
    endif()
  endif()")

if(QEL_TESTS AND QEL_GUI AND EXISTS ${CMAKE_SOURCE_DIR}/tests/packaging/CMakeLists.txt)
  add_subdirectory(tests/packaging)
endif()
