# What ships with the programs: map data, help pages, icon, desktop entry with AppStream
# metadata and the man page of zorva-cli; where `cmake --install` puts them; and the Debian
# package made by `cpack -G DEB`.
include(GNUInstallDirs)
# Installing and packaging take what is built; they do not build every benchmark and test first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The map files beside the programs of the build tree (build/data), so that a program run
# from the build folder finds them the way an installed one finds share/zorva.
file(GLOB map_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/map/*.dat)
foreach(f ${map_files})
  get_filename_component(name ${f} NAME)
  configure_file(${f} ${CMAKE_BINARY_DIR}/data/${name} COPYONLY)
endforeach()

# The man page is written from the usage text the program prints, so the two never differ.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/zorva-cli.1
  COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:zorva-cli> -DOUT=${CMAKE_BINARY_DIR}/zorva-cli.1
          -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/manpage.cmake
  DEPENDS zorva-cli ${CMAKE_SOURCE_DIR}/cmake/manpage.cmake ${CMAKE_SOURCE_DIR}/cmake/zorva-cli.1.in
  COMMENT "Writing the man page of zorva-cli")
add_custom_target(zorva_manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/zorva-cli.1)

install(TARGETS zorva zorva-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${map_files} ${CMAKE_SOURCE_DIR}/data/map/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zorva)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorva/help
        FILES_MATCHING PATTERN "*.html" PATTERN "*.png")
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorva)
# The desktop entry, its metadata and the icon share the application's id.
install(FILES ${CMAKE_SOURCE_DIR}/data/icons/zorva.svg RENAME org.zorva.Zorva.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/org.zorva.Zorva.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/org.zorva.Zorva.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/zorva-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Debian package: `cpack -G DEB` in the build folder gives zorva_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME zorva)
set(CPACK_PACKAGE_VENDOR "Zorva")
set(CPACK_PACKAGE_CONTACT "Zorva <zorva@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design sundials and compute the position of the sun")
set(CPACK_PACKAGE_DESCRIPTION
    "Zorva constructs horizontal, vertical, inclined, umbrella, quadrant, azimuth, cylinder and\n"
    "cone-shadow sundials for any site and year, on screen, printed at true scale, as HPGL and\n"
    "DXF, and computes sun positions, rise and set times, tables and graphs. The command-line\n"
    "tool zorva-cli offers the same calculations for scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Text laid out for Arial, Times and Courier keeps its proportions with the Liberation
# twins; the zodiac signs come from DejaVu. The libraries are found by dpkg-shlibdeps, all
# but Qt's SVG plugins: the window icon is an SVG, and no linked library brings them along.
# Qt's own buttons and dialogs speak German with Qt's translations. GDAL is opened at run
# time (for elevation rasters), so dpkg-shlibdeps cannot see it either.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, libgdal32, fonts-liberation2, fonts-dejavu-core, qt6-translations-l10n")
include(CPack)

# The package is built into a temporary folder, unpacked into a temporary root and its
# zorva-cli run from there with its installed data.
add_test(NAME debian_package
         COMMAND ${CMAKE_SOURCE_DIR}/tools/check_package.sh ${CMAKE_BINARY_DIR})
set_tests_properties(debian_package PROPERTIES TIMEOUT 600 LABELS package SKIP_RETURN_CODE 77)
