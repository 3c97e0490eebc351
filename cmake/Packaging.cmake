# Install rules, the desktop files, the icon (also compiled into the windows) and the Debian package.
include(GNUInstallDirs)

# The date of PROJECT_VERSION, for the metainfo's release and the manual pages.
set(TABLIX_RELEASE_DATE 2026-12-08)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# What the manual pages name: the package's folder; the programs find it as ../share/tablix.
set(TABLIX_INSTALLED_DATA ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/tablix)
set(TABLIX_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(TABLIX_GENERATED ${CMAKE_BINARY_DIR}/packaging)

# The icon's PNG sizes are rendered from its SVG, so the drawing has one source.
find_program(TABLIX_RSVG_CONVERT rsvg-convert REQUIRED)
set(TABLIX_ICON_SVG ${TABLIX_PACKAGING}/org.tablix.Tablix.svg)
set(TABLIX_ICON_SIZES 16 24 32 48 64 128 256 512)
set(TABLIX_ICON_PNGS)
foreach(size ${TABLIX_ICON_SIZES})
  set(png ${TABLIX_GENERATED}/icons/${size}x${size}/org.tablix.Tablix.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TABLIX_GENERATED}/icons/${size}x${size}
    COMMAND ${TABLIX_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${TABLIX_ICON_SVG}
    DEPENDS ${TABLIX_ICON_SVG} VERBATIM)
  list(APPEND TABLIX_ICON_PNGS ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(tablix_icons ALL DEPENDS ${TABLIX_ICON_PNGS})

# The window icon, `:/icons/tablix.png`: 64 pixels are what window managers show, at a sixteenth of the memory of 256.
set(TABLIX_WINDOW_ICON ${TABLIX_GENERATED}/icons/64x64/org.tablix.Tablix.png)
set_source_files_properties(${TABLIX_WINDOW_ICON} PROPERTIES QT_RESOURCE_ALIAS tablix.png GENERATED TRUE)
qt_add_resources(tablix_ui tablix_icon PREFIX /icons BASE ${TABLIX_GENERATED}/icons/64x64 FILES ${TABLIX_WINDOW_ICON})

# Manual pages, compressed without a time stamp so that builds are reproducible.
find_program(TABLIX_GZIP gzip REQUIRED)
set(TABLIX_MAN_PAGES)
foreach(page tablix tablix-cli)
  configure_file(${TABLIX_PACKAGING}/${page}.1.in ${TABLIX_GENERATED}/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${TABLIX_GENERATED}/${page}.1.gz
    COMMAND ${TABLIX_GZIP} -9nf --keep ${TABLIX_GENERATED}/${page}.1
    DEPENDS ${TABLIX_GENERATED}/${page}.1 VERBATIM)
  list(APPEND TABLIX_MAN_PAGES ${TABLIX_GENERATED}/${page}.1.gz)
endforeach()
configure_file(${TABLIX_PACKAGING}/changelog.in ${TABLIX_GENERATED}/changelog @ONLY)
add_custom_command(OUTPUT ${TABLIX_GENERATED}/changelog.gz
  COMMAND ${TABLIX_GZIP} -9nf --keep ${TABLIX_GENERATED}/changelog
  DEPENDS ${TABLIX_GENERATED}/changelog VERBATIM)
add_custom_target(tablix_docs ALL DEPENDS ${TABLIX_MAN_PAGES} ${TABLIX_GENERATED}/changelog.gz)
configure_file(${TABLIX_PACKAGING}/org.tablix.Tablix.metainfo.xml.in
  ${TABLIX_GENERATED}/org.tablix.Tablix.metainfo.xml @ONLY)

install(TARGETS tablix tablix-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/params.json data/tablix_lng.eng data/tablix_lng.pol DESTINATION ${CMAKE_INSTALL_DATADIR}/tablix)
install(FILES data/examples/shop-front.json DESTINATION ${CMAKE_INSTALL_DATADIR}/tablix/examples)
install(FILES ${TABLIX_PACKAGING}/org.tablix.Tablix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TABLIX_GENERATED}/org.tablix.Tablix.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TABLIX_PACKAGING}/org.tablix.Tablix.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME org.tablix.Tablix.xml)
install(FILES ${TABLIX_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${TABLIX_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Debian keeps these under the package's name, not the project's.
install(FILES ${TABLIX_PACKAGING}/copyright ${TABLIX_GENERATED}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tablix)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tablix)
set(CPACK_PACKAGE_VENDOR "The Tablix developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design and price modular sign boards")
set(CPACK_PACKAGE_DESCRIPTION "Tablix is a desktop program for sign makers. A sign board is built from
rows of extruded panels and profiles, held in a frame or between two
posts. Tablix draws each board to scale, prices it, prints its cost and
specification reports, exports it for cutting plotters and drawing
programs, and plans the cutting of the profiles.
.
The command-line tool tablix-cli computes, reports and exports signs
without a window, for scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tablix developers <tablix@tablix.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.tablix.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so shlibdeps cannot see them: the display plugins, Qt's own translations (its
# dialogs in the user's language), and a font for the drawings.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
