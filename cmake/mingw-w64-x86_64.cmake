# Cross build for 64-bit Windows with mingw-w64 (posix threads); tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRENLOW_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRENLOW_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRENLOW_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${BRENLOW_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRENLOW_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No runtime DLLs to ship or to find under Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
