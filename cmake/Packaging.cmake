# Installation and the Debian package: the programs in bin/, the shipped start
# directory data in share/vedivavurir/, a desktop entry and its icons.
include(GNUInstallDirs)

foreach(program vedivavurir vedivavurir-cli vkdm_pdb)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vedivavurir
    PATTERN ".keep" EXCLUDE)
# Folders the builds write into; empty in the shipped data.
install(DIRECTORY DESTINATION ${CMAKE_INSTALL_DATADIR}/vedivavurir/PDBFiles)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/vedivavurir.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/vedivavurir-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vedivavurir.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vedivavurir)
set(CPACK_PACKAGE_VENDOR "Vedi Vavurir developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Theme and icon set editor for the Lanternshade launcher on Palm OS handhelds")
set(CPACK_PACKAGE_DESCRIPTION
    "Draw one skin sheet, pick icons from icon sheets or the screen, and build real Palm OS resource databases with the bundled resource compiler vkdm_pdb. Includes vedivavurir-cli for builds without windows.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vedi Vavurir developers <vedivavurir@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)

if(BUILD_TESTING OR NOT DEFINED BUILD_TESTING)
    add_test(NAME package_deb COMMAND ${PROJECT_SOURCE_DIR}/packaging/check_package.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(package_deb PROPERTIES TIMEOUT 900)
endif()
