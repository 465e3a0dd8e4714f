# What an installation holds beside the program and its manual, and the Debian package made of it
# (`cpack -G DEB`, `make package`). The desktop files name the program by its application id.
set(ORVANTIS_APP_ID com.tolvane.Orvantis)
set(ORVANTIS_MAINTAINER "ORVANTIS maintainers <orvantis@tolvane.example.org>" CACHE STRING
  "Maintainer of the Debian package")
set(packaging ${CMAKE_SOURCE_DIR}/packaging/linux)
set(generated ${CMAKE_BINARY_DIR}/packaging)

# The sample building of the manual's walk-through.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/sample DESTINATION ${CMAKE_INSTALL_DATADIR}/orvantis/examples)

# The manual page and the package's changelog, compressed as Debian keeps them (no time stamp in
# the gzip header, so a package is the same at every build).
find_program(ORVANTIS_GZIP gzip REQUIRED)
execute_process(COMMAND date -u -R -d "${ORVANTIS_RELEASE_DATE} 12:00:00"
  OUTPUT_VARIABLE ORVANTIS_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${packaging}/orvantis.1.in ${generated}/orvantis.1 @ONLY)
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)
configure_file(${packaging}/${ORVANTIS_APP_ID}.metainfo.xml.in ${generated}/${ORVANTIS_APP_ID}.metainfo.xml @ONLY)
foreach(file orvantis.1 changelog)
  add_custom_command(OUTPUT ${generated}/${file}.gz
    COMMAND ${ORVANTIS_GZIP} -n -9 -c ${generated}/${file} > ${generated}/${file}.gz
    DEPENDS ${generated}/${file}
    COMMENT "Compressing ${file}")
endforeach()
add_custom_target(orvantis_packaging_files ALL DEPENDS ${generated}/orvantis.1.gz ${generated}/changelog.gz)
# Built with the program, so that an install after building only the program is whole.
add_dependencies(orvantis orvantis_packaging_files)
install(FILES ${generated}/orvantis.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/changelog.gz ${packaging}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${packaging}/orvantis.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
  RENAME orvantis)

# The menu entry, its icon, the project file type and the software-centre description belong to
# the desktop program only.
if(ORVANTIS_GUI)
  install(FILES ${packaging}/${ORVANTIS_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${generated}/${ORVANTIS_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${packaging}/${ORVANTIS_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
    RENAME ${ORVANTIS_APP_ID}.xml)
  install(FILES ${packaging}/icons/${ORVANTIS_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${packaging}/icons/${ORVANTIS_APP_ID}-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${ORVANTIS_APP_ID}.png)
  endforeach()
endif()

# The Debian package. Its dependencies are found by dpkg-shlibdeps from the libraries the program
# links (Qt 6, TinyXML, the C++ runtime).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvantis)
set(CPACK_PACKAGE_VENDOR "Tolvane Software")
set(CPACK_PACKAGE_CONTACT "${ORVANTIS_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lighting energy numeric indicator (LENI) of buildings")
# The long description, in lines of at most 80 characters as Debian wants them.
set(CPACK_PACKAGE_DESCRIPTION "ORVANTIS calculates the lighting energy numeric indicator (LENI) of a
building: the energy its lighting uses in a year or a month per square metre
of floor area, with the installed power and the lighting and parasitic energy
of every floor, room and zone. Rooms, zones, windows, roof lights and atria
are drawn over DXF floor plans in the desktop program; batch commands
calculate a project, import a DXF plan or write a PDF report without a
display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help > Help opens the manual in the web browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
