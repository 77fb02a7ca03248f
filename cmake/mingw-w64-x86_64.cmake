# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64):
#   cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DVANTOR_ENGINE_ONLY=ON
# The programs link statically (C and C++ runtimes, winpthreads), so each
# .exe runs alone. With Wine installed, tests run through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VANTOR_MINGW_PREFIX x86_64-w64-mingw32)
# The posix threading variant: std::thread and std::mutex, which GoogleTest
# uses, exist only there in this GCC.
set(CMAKE_C_COMPILER ${VANTOR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTOR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTOR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VANTOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC 12's -Wrestrict misfires inside libstdc++'s own string concatenation
# (GCC bug 105329) when optimising; it finds nothing in this code.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Wine runs headless in a prefix of the build's own (see wine-run.sh).
find_program(VANTOR_WINE wine)
if(VANTOR_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(VANTOR_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix the cross build's programs run in")
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_COMMAND} -E env WINEPREFIX=${VANTOR_WINEPREFIX} ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
endif()
