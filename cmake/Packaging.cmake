# Installation and the Debian package: the programs in bin/, the shipped start
# directory data in share/vedivavurir/, their manual pages, the bash completion
# of vedivavurir-cli, a desktop entry with its icons and AppStream metadata.
include(GNUInstallDirs)

set(VV_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(VV_GENERATED_DIR ${CMAKE_BINARY_DIR}/packaging)
set(VV_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vedivavurir)

set(VV_PROGRAMS vedivavurir vedivavurir-cli vkdm_pdb)
install(TARGETS ${VV_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(program ${VV_PROGRAMS})
    list(APPEND VV_INSTALLED_BINARIES ${CMAKE_INSTALL_BINDIR}/${program})
endforeach()
# vedivavurir-cli's launcher loads the program from here.
if(TARGET vedivavurir-cli-library)
    install(TARGETS vedivavurir-cli-library LIBRARY DESTINATION ${VV_CLI_LIBRARY_DIR})
    list(APPEND VV_INSTALLED_BINARIES ${VV_CLI_LIBRARY_DIR}/libvedivavurir-cli.so)
endif()
# A stripped program (cpack, cmake --install --strip) also loses the notes of
# the compilers that made its objects, as dh_strip does: nothing reads them.
if(CMAKE_OBJCOPY)
    foreach(binary ${VV_INSTALLED_BINARIES})
        install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${binary}\" COMMAND_ERROR_IS_FATAL ANY)
endif()")
    endforeach()
endif()
# The start directory's data, without what only the repository needs (notes
# for developers, git attributes, placeholders of empty folders) and without
# PDBFiles, the folder only builds write into: --init makes it.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vedivavurir
    PATTERN ".keep" EXCLUDE PATTERN ".git*" EXCLUDE PATTERN "*.md" EXCLUDE PATTERN "PDBFiles" EXCLUDE)

# The menu entry, its AppStream description and its icons. The icons are the
# window icon drawn at each size, so menu and window show the same picture.
install(FILES ${VV_PACKAGING_DIR}/org.example.vedivavurir.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VV_PACKAGING_DIR}/org.example.vedivavurir.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
add_executable(vv_program_icons ${VV_PACKAGING_DIR}/program_icons.cpp)
target_link_libraries(vv_program_icons PRIVATE vv_ui)
add_custom_command(OUTPUT ${VV_GENERATED_DIR}/icons.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${VV_GENERATED_DIR}/icons
    COMMAND vv_program_icons ${VV_GENERATED_DIR}/icons
    COMMAND ${CMAKE_COMMAND} -E touch ${VV_GENERATED_DIR}/icons.stamp
    DEPENDS vv_program_icons
    COMMENT "Drawing the menu icons" VERBATIM)
add_custom_target(vv_desktop_icons ALL DEPENDS ${VV_GENERATED_DIR}/icons.stamp)
install(DIRECTORY ${VV_GENERATED_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

install(FILES ${VV_PACKAGING_DIR}/vedivavurir-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME vedivavurir-cli)

# Debian's documentation files: the copyright and the changelog, compressed
# the way Debian wants (best compression, no name or time stamp).
install(FILES ${VV_PACKAGING_DIR}/copyright DESTINATION ${VV_DOC_DIR})
# lintian's tags that do not apply to this package, each with its reason.
install(FILES ${VV_PACKAGING_DIR}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
    RENAME vedivavurir)
add_custom_command(OUTPUT ${VV_GENERATED_DIR}/changelog.Debian.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${VV_PACKAGING_DIR}/changelog ${VV_GENERATED_DIR}/changelog.Debian
    COMMAND gzip -9nf ${VV_GENERATED_DIR}/changelog.Debian
    DEPENDS ${VV_PACKAGING_DIR}/changelog VERBATIM)
add_custom_target(vv_changelog ALL DEPENDS ${VV_GENERATED_DIR}/changelog.Debian.gz)
install(FILES ${VV_GENERATED_DIR}/changelog.Debian.gz DESTINATION ${VV_DOC_DIR})

# Manual pages, made from each program's own --help (and --help of every
# command of vedivavurir-cli) by help2man, with the sections --help does not
# hold from packaging/man/PROGRAM.h2m.
find_program(VV_HELP2MAN help2man)
if(VV_HELP2MAN)
    foreach(program vedivavurir vedivavurir-cli vkdm_pdb)
        set(page ${VV_GENERATED_DIR}/man/${program}.1.gz)
        add_custom_command(OUTPUT ${page}
            COMMAND ${VV_PACKAGING_DIR}/man/make_manpage.sh $<TARGET_FILE:${program}>
                ${VV_PACKAGING_DIR}/man/${program}.h2m ${VV_PACKAGING_DIR}/changelog ${page}
            DEPENDS ${program} ${VV_PACKAGING_DIR}/man/make_manpage.sh ${VV_PACKAGING_DIR}/man/${program}.h2m
                ${VV_PACKAGING_DIR}/changelog
            COMMENT "Writing the manual page of ${program}" VERBATIM)
        list(APPEND VV_MAN_PAGES ${page})
    endforeach()
    add_custom_target(vv_man_pages ALL DEPENDS ${VV_MAN_PAGES})
    install(FILES ${VV_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    message(WARNING "help2man is missing (apt-get install help2man): the manual pages are not made "
        "and the package test fails")
endif()

# Everything the package holds, without the tests: what the package test
# builds with the package's flags.
add_custom_target(vv_package_files)
add_dependencies(vv_package_files ${VV_PROGRAMS} vv_desktop_icons vv_changelog vv_completion_word_list)
if(VV_HELP2MAN)
    add_dependencies(vv_package_files vv_man_pages)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vedivavurir)
set(CPACK_PACKAGE_VENDOR "Vedi Vavurir")
set(CPACK_PACKAGE_CONTACT "Vedi Vavurir <vedivavurir@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "theme and icon set editor for the Lanternshade launcher on Palm OS")
# Debian shows the description as written: lines well inside 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [=[Vedi Vavurir makes themes and icon sets for Lanternshade, a launcher on Palm OS
handhelds. You paint one skin sheet, the program cuts it into the theme's
pieces, lets you pick icons from icon sheets or from the screen, and builds
real Palm OS resource databases with the bundled resource compiler vkdm_pdb,
ready for the handheld's install tool.

vedivavurir-cli builds themes and icon sets without windows.]=])
set(CPACK_PACKAGE_HOMEPAGE_URL "https://example.org/vedivavurir/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# The Debian revision of the packaging: the package is 1.4.2-1, not a native
# Debian package, so its changelog is changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Completion of vedivavurir-cli needs bash-completion's helpers; TIFF and WebP
# sheets need Qt's extra image format plugins.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion, qt6-image-formats-plugins")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)

if(BUILD_TESTING OR NOT DEFINED BUILD_TESTING)
    # Builds the package's programs with the package's flags (in a folder of
    # their own), makes the package and checks it with lintian, appstreamcli
    # and desktop-file-validate, then uses the unpacked programs.
    # The sanitizer build leaves it out: the package's build does not depend
    # on the tree the test is run from.
    if(NOT VV_SANITIZE)
        add_test(NAME package_deb COMMAND ${VV_PACKAGING_DIR}/check_package.sh ${CMAKE_BINARY_DIR}/package)
        # From a clean clone the package's build compiles everything once more
        # with its own flags: ten minutes on a loaded two-core machine.
        set_tests_properties(package_deb PROPERTIES TIMEOUT 1800)
    endif()
    # Each manual page lists exactly the options its program's --help lists.
    add_test(NAME man_pages COMMAND ${VV_PACKAGING_DIR}/check_manpages.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(man_pages PROPERTIES TIMEOUT 120)
    # The completion offers every command and option --help lists.
    add_test(NAME bash_completion COMMAND ${VV_PACKAGING_DIR}/check_completion.sh ${CMAKE_BINARY_DIR}
        ${VV_PACKAGING_DIR}/vedivavurir-cli.bash)
    set_tests_properties(bash_completion PROPERTIES TIMEOUT 120)
    # --help, --version, unknown options and --init without a display.
    add_test(NAME program_options COMMAND ${VV_PACKAGING_DIR}/check_program_options.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(program_options PROPERTIES TIMEOUT 120)
endif()
