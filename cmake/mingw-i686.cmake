# Cross toolchain: 32-bit Windows through mingw-w64 with the posix thread
# model, so std::thread and friends work; the runtime is linked statically so
# the executables depend on system DLLs only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine through our wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)

# Several checkouts of the tree (and clean CI clones) compile the same
# sources: ccache, when present, shares the objects between them. Paths are
# hashed relative to the checkout so two clones hit the same entries.
find_program(KALVEX_CCACHE ccache)
if(KALVEX_CCACHE)
  get_filename_component(_kalvex_checkout "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
  foreach(_lang C CXX)
    set(CMAKE_${_lang}_COMPILER_LAUNCHER
        ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${_kalvex_checkout} CCACHE_NOHASHDIR=1 ${KALVEX_CCACHE})
  endforeach()
endif()
