# Installing the two plug-in modules where Linux VST 2 hosts look for them,
# and the two LV2 bundles where LV2 hosts look for them (~/.lv2, or the first
# folder of $LV2_PATH, or LV2_INSTALL_DIR; the same rules otherwise).
#
#   cmake --install build                      -> ~/.vst
#   VST_PATH=/opt/vst:~/x cmake --install build -> /opt/vst (first folder of $VST_PATH)
#   cmake -DVST_INSTALL_DIR=/usr/lib/vst ...   -> /usr/lib/vst (relative: under the prefix)
#   DESTDIR=/tmp/stage cmake --install build   -> the same folder under /tmp/stage
#   cmake --build build --target uninstall     -> removes what the install put there
#
# The folder is chosen when installing, not when configuring, so a $VST_PATH or
# HOME set for the install command counts. The factory presets go with them into
# presets/<module name>/ in that folder; nothing else of the project installs.
set(LV2_INSTALL_DIR "" CACHE STRING
    "Folder for the LV2 bundles (empty: first folder of \$LV2_PATH at install time, else ~/.lv2)")

set(VST_INSTALL_DIR "" CACHE STRING
    "Folder for the VST 2 modules (empty: first folder of \$VST_PATH at install time, else ~/.vst)")

set(_valve_modules)
foreach(_plugin Ostra_Ferro_B3 Vortan_v1_1)
  if(TARGET ${_plugin})
    list(APPEND _valve_modules "$<TARGET_FILE:${_plugin}>")
  endif()
endforeach()

if(_valve_modules)
  install(CODE "
    set(VALVE_VST_CONFIGURED_DIR [[${VST_INSTALL_DIR}]])
    set(VALVE_VST_MODULES [[${_valve_modules}]])
    set(VALVE_PRESETS_SOURCE [[${CMAKE_SOURCE_DIR}/presets]])
    set(VALVE_LV2_CONFIGURED_DIR [[${LV2_INSTALL_DIR}]])
    set(VALVE_LV2_BUNDLES [[${VALVE_LV2_BUNDLES}]])
    include([[${CMAKE_CURRENT_LIST_DIR}/install_modules.cmake]])
  ")
endif()

add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND}
          -DVALVE_VST_CONFIGURED_DIR=${VST_INSTALL_DIR}
          -DVALVE_LV2_CONFIGURED_DIR=${LV2_INSTALL_DIR}
          -DVALVE_VST_MANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
          -DCMAKE_INSTALL_PREFIX=${CMAKE_INSTALL_PREFIX}
          -P ${CMAKE_CURRENT_LIST_DIR}/uninstall_modules.cmake
  COMMENT "Removing the installed VST modules and LV2 bundles"
  VERBATIM)
