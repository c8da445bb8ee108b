# The installable packages, made by CPack from the install() rules next to the programs:
#   Linux:   cpack -G DEB    -> packages/kkt-programmer_<version>_amd64.deb
#   Windows: cpack -G NSIS   -> packages/kkt-programmer-<version>-win64.exe (from the cross-build)
# scripts/packages.sh builds both.

# The release the AppStream entry names; moves with the project version.
set(KKT_RELEASE_DATE 2026-12-09)
set(KKT_PACKAGE_CONTACT "KKT Programmer developers <kkt-programmer@example.org>"
    CACHE STRING "Maintainer named in the packages")
# A build folder made before the name had one spelling keeps the old default in its cache.
if(KKT_PACKAGE_CONTACT STREQUAL "KKT programmer developers <kkt-programmer@example.org>")
  set(KKT_PACKAGE_CONTACT "KKT Programmer developers <kkt-programmer@example.org>"
      CACHE STRING "Maintainer named in the packages" FORCE)
endif()

set(CPACK_PACKAGE_NAME kkt-programmer)
# The publisher in Add/Remove Programs and the registry key above the installation's own.
set(CPACK_PACKAGE_VENDOR "KKT Programmer")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KKT_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Programmer of an online cash register's GSM module and tables over a serial port")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
# GPL-3.0-or-later: the Windows installer shows it before installing.
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
# The values reach CPack as written (the registry paths' backslashes included).
set(CPACK_VERBATIM_VARIABLES ON)

if(WIN32)
  # Only the programs go into the installer (the emulator needs a pseudo-terminal, the tests are
  # not shipped), so installing need not build everything.
  set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
  set(CPACK_GENERATOR NSIS)
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "KKT Programmer")
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "KKT Programmer")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  # The Start menu folder and the Add/Remove Programs entry carry the program's Russian name.
  set(CPACK_NSIS_PACKAGE_NAME "Программирование ККТ")
  set(CPACK_NSIS_DISPLAY_NAME "Программирование ККТ")
  set(CPACK_PACKAGE_EXECUTABLES kkt-programmer "Программирование ККТ")
  set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
  set(CPACK_NSIS_INSTALLED_ICON_NAME kkt-programmer.exe)
  set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/assets/kkt-programmer.ico)
  set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/assets/kkt-programmer.ico)
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  # The uninstaller removes the installation's own key (these commands come before its own
  # removal of it); the vendor's key above it goes too once nothing else is under it. Registry
  # keys ignore case, so this also removes the key of the versions spelt "KKT programmer".
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
      "DeleteRegKey SHCTX `Software\\${CPACK_PACKAGE_VENDOR}\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}`
DeleteRegKey /ifempty SHCTX `Software\\${CPACK_PACKAGE_VENDOR}`")
  set(CPACK_NSIS_MODIFY_PATH OFF)
  set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
  # A 64-bit Unicode installer, as the program is: the script is UTF-8 with a byte order mark,
  # and an ANSI installer would hand the Russian names to Windows in its ANSI code page.
  set(CPACK_NSIS_DEFINES "Target amd64-unicode")
  # The licence and the notice of the libraries linked in lie beside the programs.
  install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/THIRD-PARTY DESTINATION .)
  include(${CMAKE_CURRENT_LIST_DIR}/nsis-template.cmake)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # The Qt 6 and libjpeg libraries the programs link, found by dpkg-shlibdeps; the Russian
  # texts of Qt's own dialog buttons come with the translations.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
  # Lines within 80 columns, as Debian's policy has them.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Programs the GSM module's parameters and the tables (operators, a goods\n"
      "base of 6000 items, payment-item groups, receipt header lines, agent\n"
      "parameters) of an online cash register (KKT) over a serial port. The\n"
      "interface is in Russian. Includes kkt-cli, the command-line programmer,\n"
      "and kkt-emulator, an emulated register on a pseudo-terminal.")
  string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})

  # The desktop entry, its icon in every size drawn and the AppStream description.
  set(generated ${CMAKE_BINARY_DIR}/packaging)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/kkt-programmer.desktop.in
                 ${generated}/${KKT_APP_ID}.desktop @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/kkt-programmer.metainfo.xml.in
                 ${generated}/${KKT_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${generated}/${KKT_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${generated}/${KKT_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  file(GLOB icons ${CMAKE_SOURCE_DIR}/assets/icons/kkt-programmer-*.png)
  foreach(icon IN LISTS icons)
    string(REGEX MATCH "([0-9]+)\\.png$" _ ${icon})
    install(FILES ${icon} RENAME kkt-programmer.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${CMAKE_MATCH_1}x${CMAKE_MATCH_1}/apps)
  endforeach()
  # kkt-cli's completion, where bash-completion looks for it by the command's name.
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/kkt-cli.bash-completion RENAME kkt-cli
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  include(${CMAKE_CURRENT_LIST_DIR}/debian-docs.cmake)
endif()

include(CPack)
