# Injected into the Windows cross build with -DCMAKE_PROJECT_INCLUDE=... (scripts/windows-build.sh):
# a static Qt links only its default platform plugin (qwindows), so QT_QPA_PLATFORM=offscreen
# would find nothing to load. Once the whole project is read, the offscreen and minimal platform
# plugins are imported into every executable of every folder.
function(_kkt_win_import_qpa_plugins dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "EXECUTABLE")
      qt_import_plugins(${t} INCLUDE Qt6::QOffscreenIntegrationPlugin Qt6::QMinimalIntegrationPlugin)
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _kkt_win_import_qpa_plugins(${sub})
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _kkt_win_import_qpa_plugins ${CMAKE_SOURCE_DIR})
