# Native 32-bit x86 Linux build of the JPEG benchmark, generating the code the Win32 product gets: GCC, SSE2 with
# SSE maths (as the Win32 build compiles the codec) and no position-independent code (Windows DLLs have none, and
# on i686 it costs a register). Linked against Debian's i386 libjpeg-turbo. The codec itself also keeps the
# Windows stack rule (ORV_BENCH_CODEC_FLAGS, see CMakeLists.txt).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse -fno-pie")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -no-pie")
set(CMAKE_POSITION_INDEPENDENT_CODE OFF)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu)
# The Windows ABI keeps the stack 4-byte aligned: functions with vector locals realign it and others do not, as
# mingw-w64's code does. Only for the codec: Linux libraries called with such a stack could fail.
set(ORV_BENCH_CODEC_FLAGS -mincoming-stack-boundary=2 -mpreferred-stack-boundary=2)
