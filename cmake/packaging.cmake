# What a Linux desktop and Debian's tools expect besides the program and its data
# folder (installed by the top CMakeLists.txt), and the .deb built from all of it:
#   cmake --build build --target package
if(NOT UNIX OR APPLE)
  return()
endif()

set(NARABIN_APPSTREAM_ID jp.example.narabin)
set(NARABIN_HOMEPAGE https://www.example.jp/narabin/)
set(NARABIN_MAINTAINER "Narabin developers <narabin@example.jp>")

# A release is its changelog entry (version and date) and its metadata entry.
set(NARABIN_RELEASE_DATE 2026-12-06)
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog NARABIN_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT NARABIN_CHANGELOG_TOP MATCHES "^narabin \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog does not begin with an entry for ${PROJECT_VERSION}")
endif()

configure_file(${PROJECT_SOURCE_DIR}/resources/narabin.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/${NARABIN_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${NARABIN_APPSTREAM_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/narabin-16.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/16x16/apps RENAME narabin.png)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/narabin.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Debian wants the changelog and manual pages compressed, at the highest level and
# without a time stamp, so that the package builds the same twice.
find_program(NARABIN_GZIP gzip REQUIRED)
set(NARABIN_COMPRESSED)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/doc/ja)
function(narabin_compress source output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "\"$0\" -9nc \"$1\" > \"$2\"" ${NARABIN_GZIP} ${source} ${output}
    DEPENDS ${source} VERBATIM)
  set(NARABIN_COMPRESSED ${NARABIN_COMPRESSED} ${output} PARENT_SCOPE)
endfunction()
narabin_compress(${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/doc/changelog.gz)
narabin_compress(${PROJECT_SOURCE_DIR}/resources/man/narabin.1 ${PROJECT_BINARY_DIR}/doc/narabin.1.gz)
narabin_compress(${PROJECT_SOURCE_DIR}/resources/man/ja/narabin.1 ${PROJECT_BINARY_DIR}/doc/ja/narabin.1.gz)
add_custom_target(narabin_compressed_docs ALL DEPENDS ${NARABIN_COMPRESSED})
install(FILES ${PROJECT_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_BINARY_DIR}/doc/narabin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/doc/ja/narabin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME narabin)
set(CPACK_PACKAGE_VENDOR "Narabin developers")
set(CPACK_PACKAGE_CONTACT "${NARABIN_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL ${NARABIN_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "seat changes for a class of up to 28 pupils")
set(CPACK_PACKAGE_DESCRIPTION [=[
Narabin (ならびん君) is a seat-change program for Japanese schoolteachers.
A teacher keeps one roster file per class, fixes pupils to seats and marks
seats that stay empty, runs a seat change (a short countdown, then a
shuffle) and gets a seating chart for a classroom of 28 seats that can be
saved, printed and reopened from a list of past results.

All of the program's text is Japanese.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_NARABIN_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debstrip.cmake)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The run-time libraries from what the program is linked with (dpkg-shlibdeps, in
# dpkg-dev). Without the tool CPack would declare nothing; name Debian 12's then.
find_program(NARABIN_SHLIBDEPS dpkg-shlibdeps)
if(NARABIN_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  message(STATUS "dpkg-shlibdeps not found (package dpkg-dev): the package names Debian 12's Qt libraries")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libgcc-s1 (>= 3.0), libstdc++6 (>= 11), \
libqt6core6 (>= ${Qt6_VERSION}), libqt6gui6 (>= ${Qt6_VERSION}), libqt6widgets6 (>= ${Qt6_VERSION}), \
libqt6printsupport6 (>= ${Qt6_VERSION}), libgecode49")
endif()
# Japanese text needs Japanese fonts, and the Latin lines of the main window and the printout
# the serif face they were measured with (Liberation Serif, the metrics of Times New Roman);
# Qt's own dialogs read their Japanese texts from the translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-liberation2, qt6-translations-l10n")

include(CPack)
