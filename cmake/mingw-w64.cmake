# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the posix thread
# model, which std::thread and the C++20 library need). Used by
# scripts/windows; the programs run under Wine for the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One executable that needs no DLL beside it: the C++ runtime, libgcc and
# winpthread are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run through Wine (scripts/windows sets up its prefix).
find_program(WANDRIX_WINE wine)
if(WANDRIX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WANDRIX_WINE})
endif()
