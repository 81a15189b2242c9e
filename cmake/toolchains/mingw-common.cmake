# Shared by both mingw-w64 toolchain files: they set CMAKE_SYSTEM_PROCESSOR
# and VALVE_MINGW_TRIPLET, then include this.
find_program(CMAKE_C_COMPILER NAMES ${VALVE_MINGW_TRIPLET}-gcc-posix ${VALVE_MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VALVE_MINGW_TRIPLET}-g++-posix ${VALVE_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VALVE_MINGW_TRIPLET}-windres REQUIRED)

# Libraries and headers of the target only: the mingw sysroot (zlib from
# libz-mingw-w64-dev) and what scripts/build-mingw-deps.sh built.
set(VALVE_MINGW_DEPS_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../../build-deps/${VALVE_MINGW_TRIPLET}"
    CACHE PATH "Where scripts/build-mingw-deps.sh installed libpng for this target")
set(CMAKE_FIND_ROOT_PATH /usr/${VALVE_MINGW_TRIPLET} ${VALVE_MINGW_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static archives only, so nothing third-party needs a DLL beside the plug-in.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine. A 64-bit program goes straight to Wine's
# 64-bit loader: Debian's `wine` wrapper starts the 32-bit loader whenever
# wine32 is installed, and that fails on a kernel without IA-32 support.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  find_program(VALVE_WINE_LOADER NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
else()
  find_program(VALVE_WINE_LOADER NAMES wine NO_CMAKE_FIND_ROOT_PATH)
endif()
if(VALVE_WINE_LOADER)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VALVE_WINE_LOADER})
endif()
