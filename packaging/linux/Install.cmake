# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts under the prefix on Linux, and the Debian package (CPack).
include(GNUInstallDirs)
install(TARGETS zel2 zel2sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program looks for its manual beside itself, then in ../share/zel2 from its folder.
install(DIRECTORY resources/Aide DESTINATION ${CMAKE_INSTALL_DATADIR}/zel2)
install(FILES packaging/linux/org.zel2.ZEL2.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/linux/org.zel2.ZEL2.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/linux/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Manual pages and the changelog compressed as Debian wants them, reproducibly (no name, no time).
find_program(ZEL2_GZIP gzip REQUIRED)
foreach(name zel2.1 zel2sim.1 changelog)
  set(packed ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
    COMMAND ${ZEL2_GZIP} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux/${name} > ${packed}
    DEPENDS packaging/linux/${name})
  list(APPEND ZEL2_PACKED ${packed})
endforeach()
add_custom_target(zel2packed ALL DEPENDS ${ZEL2_PACKED})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/zel2.1.gz ${CMAKE_CURRENT_BINARY_DIR}/packaging/zel2sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The icon in the usual sizes, made from the program's own picture.
find_program(ZEL2_CONVERT convert)
if(ZEL2_CONVERT)
  foreach(size 16 32 48 64 128 256)
    set(icon ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/zel2.png)
    add_custom_command(OUTPUT ${icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${ZEL2_CONVERT} ${CMAKE_CURRENT_SOURCE_DIR}/resources/images/Product.bmp -background white -gravity center
              -extent 110x110 -resize ${size}x${size} ${icon}
      DEPENDS resources/images/Product.bmp VERBATIM)
    list(APPEND ZEL2_ICONS ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(zel2icons ALL DEPENDS ${ZEL2_ICONS})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zel2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "ZEL2 developers <developers@zel2.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion program of the ZEL2 NAVTEX receivers")
set(CPACK_PACKAGE_DESCRIPTION "Finds the receiver when it is plugged in, shows battery,
temperature, sea-level pressure and its tendency, mirrors the received NAVTEX
messages into an archive and shows them by frequency and subject, draws the
barograph curve, saves and prints messages and the chart, and puts the
barometer and the messages on the boat's network.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zel2.org/")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
