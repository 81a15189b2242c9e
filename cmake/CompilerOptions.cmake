# Options every target of ours links: warnings as errors and the numerics rules
# (no contraction into fused multiply-adds, no fast-math, SSE2 doubles on x86).
add_library(valve_options INTERFACE)
target_compile_options(valve_options INTERFACE
  -Wall -Wextra -Werror
  -ffp-contract=off
  -fno-fast-math)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "i[3-6]86")
  target_compile_options(valve_options INTERFACE -msse2 -mfpmath=sse)
endif()

if(VALVE_SANITIZE)
  string(REPLACE ";" "," _san "${VALVE_SANITIZE}")
  add_compile_options(-fsanitize=${_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_san})
endif()

# A VST plug-in module: a shared library with no "lib" prefix that exports only
# the two entry points; everything else stays hidden.
function(valve_add_plugin target)
  add_library(${target} MODULE ${ARGN})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    C_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins)
  if(NOT WIN32)
    target_link_options(${target} PRIVATE -Wl,--exclude-libs,ALL
                        -Wl,--version-script=${CMAKE_SOURCE_DIR}/cmake/plugin_exports.map)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
                 ${CMAKE_SOURCE_DIR}/cmake/plugin_exports.map)
    if(NOT VALVE_SANITIZE)
      target_link_options(${target} PRIVATE -Wl,--no-undefined)
    endif()
  else()
    # The export table comes from the .def file alone; the C and C++ runtimes
    # are linked in, so the DLL imports only system libraries.
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/plugin_exports.def)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# Each static library that goes into a plug-in is compiled with hidden
# visibility too, so nothing of it leaks out of the module.
function(valve_add_static target)
  add_library(${target} STATIC ${ARGN})
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_link_libraries(${target} PUBLIC valve_options)
endfunction()
