# SPDX-License-Identifier: MIT
# Installation (programs in bin, their data in share/haoma, desktop integration, man pages,
# completions) and two Debian packages: haoma, and haoma-data with the segment store.
include(GNUInstallDirs)

# Man pages and the changelog go in compressed, as Debian policy asks (gzip -9n: no name or
# time stamp, so the build is reproducible).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(HAOMA_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(HAOMA_COMPRESSED)
foreach(source docs/haoma.1 docs/haoma-cli.1 data/changelog)
  get_filename_component(name ${source} NAME)
  set(compressed ${HAOMA_PACKAGE_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${HAOMA_PACKAGE_DIR}
    COMMAND sh -c "\"$0\" -9nc \"$1\" > \"$2\"" ${GZIP_PROGRAM} ${CMAKE_SOURCE_DIR}/${source} ${compressed}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND HAOMA_COMPRESSED ${compressed})
endforeach()
add_custom_target(package_files ALL DEPENDS ${HAOMA_COMPRESSED})

set(HAOMA_DOC ${CMAKE_INSTALL_DATADIR}/doc)
install(TARGETS haoma haoma-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(FILES ${HAOMA_OUTPUT_DIR}/haoma-help.html DESTINATION ${CMAKE_INSTALL_DATADIR}/haoma
        COMPONENT program)
install(FILES data/haoma.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT program)
install(FILES data/io.github.haoma.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT program)
install(FILES data/icons/haoma.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT program)
foreach(size 48 128 256)
  install(FILES data/icons/haoma-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME haoma.png COMPONENT program)
endforeach()
install(FILES ${HAOMA_PACKAGE_DIR}/haoma.1.gz ${HAOMA_PACKAGE_DIR}/haoma-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
install(FILES data/completions/haoma-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME haoma-cli
        COMPONENT program)
install(FILES data/completions/_haoma-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions
        COMPONENT program)
install(FILES data/completions/haoma-cli.fish
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d COMPONENT program)
# The licences, in each package: our code (MIT), the segment data (GPL-3.0) with its notice.
foreach(package haoma haoma-data)
  string(REPLACE "haoma-data" "data" component ${package})
  string(REPLACE "haoma" "program" component ${component})
  install(FILES data/copyright ${HAOMA_PACKAGE_DIR}/changelog.gz
          DESTINATION ${HAOMA_DOC}/${package} COMPONENT ${component})
endforeach()
install(FILES ${HAOMA_SEGMENT_NOTICE} DESTINATION ${HAOMA_DOC}/haoma-data COMPONENT data)
install(FILES ${HAOMA_OUTPUT_DIR}/mobile.db DESTINATION ${CMAKE_INSTALL_DATADIR}/haoma
        COMPONENT data)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME haoma)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "haoma maintainers <maintainers@users.noreply.c-seed-771cc6fd.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program data)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME haoma)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "haoma-data (= ${PROJECT_VERSION})")
# The shared libraries the programs link, found by dpkg-shlibdeps (the X11 platform plugin
# comes with libqt6gui6); Qt's Chinese texts come with qt6-translations-l10n.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION "mobile number segments of a city and their numbers
haoma (全国手机号码生成器) turns a mainland China city name into the city's
mobile number segments, the 7-digit prefixes the carriers assign to it, and
then into lists of 11-digit numbers: every number of each segment, or only
the pretty numbers whose last digits follow one of nine patterns (AAAA, ABCD,
DCBA, AAA, ABC, CBA, AABB, ABAB, ABBA).
.
The window suggests cities by Chinese name, pinyin or initials. haoma-cli
gives the same lists of any size from the command line, looks up where
numbers belong, and imports other segment data.")

set(CPACK_DEBIAN_DATA_PACKAGE_NAME haoma-data)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_DATA_DESCRIPTION "segment store of the haoma mobile number tool
The mainland China mobile number segments that haoma and haoma-cli use: every
allocated 7-digit prefix with its province, city, carrier, area code and
postal code (2025-02 edition of the open segment data of the phone.dat
family, GPL-3.0), as an SQLite store.")
include(CPack)
