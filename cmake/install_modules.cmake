# Run by `cmake --install`: copies the plug-in modules into the VST folder, the
# factory presets (when given) into presets/<module name>/ beside them, and the
# LV2 bundles into the LV2 folder.
# file(INSTALL) puts $DESTDIR in front of the folder and records each file in
# install_manifest.txt, which the uninstall target reads.
include(${CMAKE_CURRENT_LIST_DIR}/vst_install_dir.cmake)
valve_vst_install_dir(_dir)
foreach(_module IN LISTS VALVE_VST_MODULES)
  if(NOT EXISTS "${_module}")
    message(FATAL_ERROR "${_module} is not built yet: build the plug-ins before installing")
  endif()
endforeach()
file(INSTALL DESTINATION "${_dir}" TYPE MODULE FILES ${VALVE_VST_MODULES})

if(VALVE_PRESETS_SOURCE)
  file(GLOB _ferro_presets "${VALVE_PRESETS_SOURCE}/ferro/*.fxp")
  file(GLOB _vortan_presets "${VALVE_PRESETS_SOURCE}/vortan/*.fxp" "${VALVE_PRESETS_SOURCE}/vortan/*.fxb")
  file(INSTALL DESTINATION "${_dir}/presets" TYPE FILE FILES "${VALVE_PRESETS_SOURCE}/README.md")
  file(INSTALL DESTINATION "${_dir}/presets/Ostra_Ferro_B3" TYPE FILE FILES ${_ferro_presets})
  file(INSTALL DESTINATION "${_dir}/presets/Vortan_v1_1" TYPE FILE FILES ${_vortan_presets})
endif()

if(VALVE_LV2_BUNDLES)
  valve_lv2_install_dir(_lv2_dir)
  foreach(_bundle IN LISTS VALVE_LV2_BUNDLES)
    if(NOT EXISTS "${_bundle}/manifest.ttl")
      message(FATAL_ERROR "${_bundle} is not built yet: build the LV2 bundles before installing")
    endif()
  endforeach()
  file(INSTALL DESTINATION "${_lv2_dir}" TYPE DIRECTORY FILES ${VALVE_LV2_BUNDLES})
endif()
