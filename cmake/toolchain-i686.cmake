# 32-bit x86 build from the same sources; SSE2 arithmetic for double, x87 only for long double.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# Kernels without 32-bit execution run the tests through a user-mode emulator.
if(ORV_I386_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORV_I386_EMULATOR})
endif()
# The 32-bit image libraries unpacked into a folder of their own where the
# system cannot install them (tools/common.sh): found there first, linked with
# a DT_RPATH, which unlike a run path also serves libpng's own zlib.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORV_I386_EMULATOR ORV_I386_DEPS)
if(ORV_I386_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${ORV_I386_DEPS})
  set(_orv_deps_libs "${ORV_I386_DEPS}/usr/lib/i386-linux-gnu:${ORV_I386_DEPS}/lib/i386-linux-gnu")
  string(APPEND CMAKE_C_FLAGS_INIT " -isystem ${ORV_I386_DEPS}/usr/include/i386-linux-gnu")
  string(APPEND CMAKE_CXX_FLAGS_INIT " -isystem ${ORV_I386_DEPS}/usr/include/i386-linux-gnu")
  foreach(_kind EXE SHARED MODULE)
    string(APPEND CMAKE_${_kind}_LINKER_FLAGS_INIT
           " -Wl,--disable-new-dtags -Wl,-rpath,${_orv_deps_libs} -Wl,-rpath-link,${_orv_deps_libs}")
  endforeach()
endif()
