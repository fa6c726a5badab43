# The MinGW-w64 tools of the Windows build, named once: Debian's -posix
# compilers are the ones with std::thread and std::mutex; the default ones lack
# them. Read by the toolchain file and by the Wine comparison's runner.
set(TESSARO_MINGW_TRIPLET x86_64-w64-mingw32)
set(TESSARO_MINGW_CC ${TESSARO_MINGW_TRIPLET}-gcc-posix)
set(TESSARO_MINGW_CXX ${TESSARO_MINGW_TRIPLET}-g++-posix)
