# Run by `cmake --install`: copies the plug-in modules into the VST folder.
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
