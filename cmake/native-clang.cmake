# CMake toolchain for the native sanitizer build of the portable core (test build only).
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(ORV_SANITIZE "-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined")
set(CMAKE_C_FLAGS_INIT "${ORV_SANITIZE}")
set(CMAKE_CXX_FLAGS_INIT "${ORV_SANITIZE}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${ORV_SANITIZE}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${ORV_SANITIZE}")
