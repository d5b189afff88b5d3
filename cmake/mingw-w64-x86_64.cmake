# Cross build for Windows (x86_64) with Debian's MinGW-w64 win32-thread compilers (no winpthreads, whose imports need Vista), linked statically.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# No MinGW runtime DLL may be needed beside the EXE; no link time is stamped
# into it, so that the same sources give the same bytes; the header names the
# oldest Windows the EXE loads on (XP x64 / Server 2003, 5.2).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp,--major-os-version,5,--minor-os-version,2,--major-subsystem-version,5,--minor-subsystem-version,2")
# What users get carries no symbols or debug information.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
