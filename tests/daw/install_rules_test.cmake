# The install and uninstall scripts of cmake/ run as `cmake --install` and the
# uninstall target run them, against two stand-in modules, in a private HOME:
# where the modules land for each way of choosing the folder, that DESTDIR
# goes in front, and that uninstalling removes exactly them. The build's own
# install_manifest.txt is never touched.
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -P install_rules_test.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/home" "${WORK_DIR}/built")
set(modules "${WORK_DIR}/built/Ostra_Ferro_B3.so;${WORK_DIR}/built/Vortan_v1_1.so")
foreach(m IN LISTS modules)
  file(WRITE "${m}" "module")
endforeach()

# case(<name> <expected folder> <configured dir> <VST_PATH or -> <DESTDIR or ->)
function(check_case name expected configured vst_path destdir)
  set(env "HOME=${WORK_DIR}/home")
  if(NOT vst_path STREQUAL "-")
    list(APPEND env "VST_PATH=${vst_path}")
  endif()
  if(NOT destdir STREQUAL "-")
    list(APPEND env "DESTDIR=${destdir}")
  endif()
  set(manifest "${WORK_DIR}/${name}.manifest")
  set(install_script "${WORK_DIR}/${name}-install.cmake")
  # What cmake --install runs, plus writing the manifest as it does.
  file(WRITE "${install_script}" "
    set(VALVE_VST_CONFIGURED_DIR [[${configured}]])
    set(VALVE_VST_MODULES [[${modules}]])
    set(CMAKE_INSTALL_PREFIX [[${WORK_DIR}/prefix]])
    include([[${SOURCE_DIR}/cmake/install_modules.cmake]])
    string(REPLACE \";\" \"\\n\" files \"\${CMAKE_INSTALL_MANIFEST_FILES}\")
    file(WRITE [[${manifest}]] \"\${files}\")
  ")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=VST_PATH --unset=DESTDIR ${env}
                          ${CMAKE_COMMAND} -P "${install_script}"
                  RESULT_VARIABLE rc OUTPUT_QUIET)
  foreach(n Ostra_Ferro_B3.so Vortan_v1_1.so)
    if(NOT rc EQUAL 0 OR NOT EXISTS "${expected}/${n}")
      message(FATAL_ERROR "${name}: ${n} not installed into ${expected} (exit ${rc})")
    endif()
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=VST_PATH --unset=DESTDIR ${env}
                          ${CMAKE_COMMAND} -DVALVE_VST_CONFIGURED_DIR=${configured}
                          -DVALVE_VST_MANIFEST=${manifest}
                          -DCMAKE_INSTALL_PREFIX=${WORK_DIR}/prefix
                          -P "${SOURCE_DIR}/cmake/uninstall_modules.cmake"
                  RESULT_VARIABLE rc OUTPUT_QUIET)
  foreach(n Ostra_Ferro_B3.so Vortan_v1_1.so)
    if(NOT rc EQUAL 0 OR EXISTS "${expected}/${n}")
      message(FATAL_ERROR "${name}: ${expected}/${n} left behind by the uninstall (exit ${rc})")
    endif()
  endforeach()
  message(STATUS "${name}: installed into and removed from ${expected}")
endfunction()

check_case(home "${WORK_DIR}/home/.vst" "" - -)
check_case(vst_path "${WORK_DIR}/first" "" "${WORK_DIR}/first:${WORK_DIR}/second" -)
check_case(vst_path_leading_colon "${WORK_DIR}/first" "" ":${WORK_DIR}/first" -)
check_case(cache_wins "${WORK_DIR}/chosen" "${WORK_DIR}/chosen" "${WORK_DIR}/first" -)
check_case(relative_to_prefix "${WORK_DIR}/prefix/lib/vst" "lib/vst" - -)
check_case(destdir "${WORK_DIR}/stage${WORK_DIR}/home/.vst" "" - "${WORK_DIR}/stage")
check_case(destdir_vst_path "${WORK_DIR}/stage/opt/vst" "" "/opt/vst" "${WORK_DIR}/stage")

# The LV2 bundles: whole folders, into ~/.lv2, the first folder of
# $LV2_PATH or the configured one, and gone again after the uninstall.
set(bundles "${WORK_DIR}/built/Ostra_Ferro_B3.lv2;${WORK_DIR}/built/Vortan_v1_1.lv2")
foreach(b IN LISTS bundles)
  file(WRITE "${b}/manifest.ttl" "manifest")
  get_filename_component(stem "${b}" NAME_WE)
  file(WRITE "${b}/${stem}.so" "binary")
endforeach()

function(check_lv2_case name expected configured lv2_path destdir)
  set(env "HOME=${WORK_DIR}/home")
  if(NOT lv2_path STREQUAL "-")
    list(APPEND env "LV2_PATH=${lv2_path}")
  endif()
  if(NOT destdir STREQUAL "-")
    list(APPEND env "DESTDIR=${destdir}")
  endif()
  set(manifest "${WORK_DIR}/${name}.manifest")
  set(install_script "${WORK_DIR}/${name}-install.cmake")
  file(WRITE "${install_script}" "
    set(VALVE_VST_CONFIGURED_DIR [[${WORK_DIR}/vst]])
    set(VALVE_VST_MODULES [[${modules}]])
    set(VALVE_LV2_CONFIGURED_DIR [[${configured}]])
    set(VALVE_LV2_BUNDLES [[${bundles}]])
    set(CMAKE_INSTALL_PREFIX [[${WORK_DIR}/prefix]])
    include([[${SOURCE_DIR}/cmake/install_modules.cmake]])
    string(REPLACE \";\" \"\\n\" files \"\${CMAKE_INSTALL_MANIFEST_FILES}\")
    file(WRITE [[${manifest}]] \"\${files}\")
  ")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LV2_PATH --unset=DESTDIR ${env}
                          ${CMAKE_COMMAND} -P "${install_script}"
                  RESULT_VARIABLE rc OUTPUT_QUIET)
  foreach(n Ostra_Ferro_B3.lv2/manifest.ttl Ostra_Ferro_B3.lv2/Ostra_Ferro_B3.so
            Vortan_v1_1.lv2/Vortan_v1_1.so)
    if(NOT rc EQUAL 0 OR NOT EXISTS "${expected}/${n}")
      message(FATAL_ERROR "${name}: ${n} not installed into ${expected} (exit ${rc})")
    endif()
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LV2_PATH --unset=DESTDIR ${env}
                          ${CMAKE_COMMAND} -DVALVE_VST_CONFIGURED_DIR=${WORK_DIR}/vst
                          -DVALVE_LV2_CONFIGURED_DIR=${configured}
                          -DVALVE_VST_MANIFEST=${manifest}
                          -DCMAKE_INSTALL_PREFIX=${WORK_DIR}/prefix
                          -P "${SOURCE_DIR}/cmake/uninstall_modules.cmake"
                  RESULT_VARIABLE rc OUTPUT_QUIET)
  foreach(n Ostra_Ferro_B3.lv2 Vortan_v1_1.lv2)
    if(NOT rc EQUAL 0 OR EXISTS "${expected}/${n}")
      message(FATAL_ERROR "${name}: ${expected}/${n} left behind by the uninstall (exit ${rc})")
    endif()
  endforeach()
  message(STATUS "${name}: bundles installed into and removed from ${expected}")
endfunction()

check_lv2_case(lv2_home "${WORK_DIR}/home/.lv2" "" - -)
check_lv2_case(lv2_path "${WORK_DIR}/lv2first" "" "${WORK_DIR}/lv2first:${WORK_DIR}/second" -)
check_lv2_case(lv2_configured "${WORK_DIR}/prefix/lib/lv2" "lib/lv2" "${WORK_DIR}/lv2first" -)
check_lv2_case(lv2_destdir "${WORK_DIR}/stage${WORK_DIR}/home/.lv2" "" - "${WORK_DIR}/stage")
