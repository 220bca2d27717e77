# Install rules and the Debian package. An installed tree reads nothing from the build folder and
# works from any prefix: the player finds its decoder module relative to its own folder.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS ostravue-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages: the hand-written sections with the version and the module folder filled in, the
# options, commands and examples from the built programs' own --help, compressed as Debian wants.
add_executable(ov_help2man ${PROJECT_SOURCE_DIR}/cli/HelpToMan.cpp)
set(OV_MAN_PAGES ostravue-cli)
if(OV_GUI)
  list(APPEND OV_MAN_PAGES ostravue)
endif()
foreach(program ${OV_MAN_PAGES})
  set(template ${CMAKE_BINARY_DIR}/generated/man/${program}.1.in)
  set(out ${CMAKE_BINARY_DIR}/generated/man/${program}.1)
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${program}.1.in ${template} @ONLY)
  add_custom_command(OUTPUT ${out}.gz
    COMMAND ov_help2man ${template} ${out} $<TARGET_FILE:${program}>
    COMMAND gzip -9nc ${out} > ${out}.gz
    DEPENDS ov_help2man ${program} ${template} ${PROJECT_SOURCE_DIR}/docs/man/${program}.1.in
    VERBATIM)
  list(APPEND OV_MAN_GZ ${out}.gz)
  install(FILES ${out}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(ov_man_pages ALL DEPENDS ${OV_MAN_GZ})

# Shell completion: bash (read by bash-completion on demand) and zsh.
foreach(program ${OV_MAN_PAGES})
  install(FILES ${PROJECT_SOURCE_DIR}/res/completion/${program}.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ${program})
  install(FILES ${PROJECT_SOURCE_DIR}/res/completion/_${program}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
endforeach()

# The copyright and the changelog, where Debian looks for them; the changelog's top entry must be
# this version, or the package would describe another release.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog ov_changelog_top LIMIT_COUNT 1)
if(NOT ov_changelog_top MATCHES "^ostravue \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with '${ov_changelog_top}', not version "
                      "${PROJECT_VERSION}: add an entry for it")
endif()
set(ov_changelog_gz ${CMAKE_BINARY_DIR}/generated/changelog.gz)
add_custom_command(OUTPUT ${ov_changelog_gz}
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${ov_changelog_gz}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(ov_changelog ALL DEPENDS ${ov_changelog_gz})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${ov_changelog_gz}
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(OV_GUI)
  install(TARGETS ostravue RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS ov_decoder_control LIBRARY DESTINATION ${OV_MODULE_INSTALL_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/res/${OV_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${PROJECT_SOURCE_DIR}/res/icons/ostravue.svg
          DESTINATION ${icons}/scalable/apps RENAME ${OV_APP_ID}.svg)
  foreach(size 48 256)
    install(FILES ${PROJECT_SOURCE_DIR}/res/icons/ostravue-${size}.png
            DESTINATION ${icons}/${size}x${size}/apps RENAME ${OV_APP_ID}.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/res/${OV_APP_ID}.mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${OV_APP_ID}.xml)
  configure_file(${PROJECT_SOURCE_DIR}/res/${OV_APP_ID}.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/generated/${OV_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/generated/${OV_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# cpack -G DEB in the build folder (scripts/package): ostravue_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ostravue)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Ostravue developers")
set(CPACK_PACKAGE_CONTACT "The Ostravue developers <ostravue@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "player for backup files of multi-channel video recorders")
# Lines of the long description stay under 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Ostravue plays the .ysk backup files that multi-channel video recorders\n\
export: up to 16 camera channels together in 1, 4, 9 or 16 panes, with sound,\n\
rewind, fast-forward and a seek slider. ostravue-cli checks and indexes such\n\
files without a window.")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/ostravue/ostravue)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# dpkg-shlibdeps works the library dependencies out of the installed binaries and the module.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (dialog buttons, the help's headings) in the language of the translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_STRIP_FILES ON)
include(CPack)
