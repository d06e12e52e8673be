# Cross-compiles for 64-bit ARM with Debian's g++-aarch64-linux-gnu, against
# the arm64 libraries of multiarch (libgmp-dev:arm64, libgtest-dev:arm64).
# The arm64 loader and libraries sit where the programs look for them
# (/lib/ld-linux-aarch64.so.1, /usr/lib/aarch64-linux-gnu), so qemu-aarch64
# runs them as they are; CTest runs the test programs through it.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64)
# pkg-config must see the arm64 .pc files only.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
