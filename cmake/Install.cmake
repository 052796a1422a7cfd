# What `cmake --install` puts where, and the Debian package made of it.
include(GNUInstallDirs)

install(TARGETS zantor-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOT ZANTOR_LOGIC_ONLY)
  install(TARGETS zantor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(ZANTOR_DATA ${PROJECT_SOURCE_DIR}/data)
install(FILES ${ZANTOR_DATA}/zantor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${ZANTOR_DATA}/org.zantor.Zantor.metainfo.xml
  ${CMAKE_BINARY_DIR}/generated/org.zantor.Zantor.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/generated/org.zantor.Zantor.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/ui/icons/zantor.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${ZANTOR_DATA}/icons/zantor-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME zantor.png)
endforeach()
install(DIRECTORY ${ZANTOR_DATA}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zantor/examples)
if(EXISTS ${PROJECT_SOURCE_DIR}/help)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zantor/help)
endif()
install(FILES ${ZANTOR_DATA}/zantor-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zantor-cli)

# The manual page's commands come from zantor-cli's own --help, so it never
# falls behind the program.
set(ZANTOR_MANPAGE ${CMAKE_BINARY_DIR}/generated/zantor-cli.1)
configure_file(${ZANTOR_DATA}/zantor-cli.1.in ${ZANTOR_MANPAGE}.in @ONLY)
add_custom_command(OUTPUT ${ZANTOR_MANPAGE}
  COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/zantor-cli-manpage.sh $<TARGET_FILE:zantor-cli>
          ${ZANTOR_MANPAGE}.in ${ZANTOR_MANPAGE}
  DEPENDS zantor-cli ${PROJECT_SOURCE_DIR}/cmake/zantor-cli-manpage.sh ${ZANTOR_MANPAGE}.in
  COMMENT "Writing the manual page of zantor-cli")
# A logic-only sanitizer build makes no package, and its slow zantor-cli
# would only lengthen the build.
if(ZANTOR_SANITIZE AND ZANTOR_LOGIC_ONLY)
  add_custom_target(zantor-cli-manpage DEPENDS ${ZANTOR_MANPAGE})
else()
  add_custom_target(zantor-cli-manpage ALL DEPENDS ${ZANTOR_MANPAGE})
endif()
install(FILES ${ZANTOR_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zantor)
set(CPACK_PACKAGE_VENDOR "Zantor")
set(CPACK_PACKAGE_CONTACT "Zantor developers <zantor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "NC program editor and DNC station for CNC machine shops")
set(CPACK_PACKAGE_DESCRIPTION
  "Zantor joins an editor for NC part programs with a DNC station that sends\n\
them to machine controls over RS-232 serial lines. zantor-cli is the same\n\
logic on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The Qt 6, QScintilla and C++ runtime packages come from the libraries the
# programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
