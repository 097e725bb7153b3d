# The Windows cross build (PRINTSET_WINDOWS_CROSS): what needs no Qt. Qt for Windows
# cannot be installed on the build machine; the window and the logo verbs are built on
# Windows itself, where CMake finds Qt 6 (see README, "Windows").
if(NOT WIN32)
  message(FATAL_ERROR "PRINTSET_WINDOWS_CROSS needs -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake")
endif()
find_package(Threads REQUIRED)
enable_testing()
include(GNUInstallDirs)
include(cmake/Version.cmake)

# Windows 7 and later: WSAPoll, _mkgmtime and the console control handler are there.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601)

add_subdirectory(src/link)
add_subdirectory(src/engine)
add_subdirectory(tests)
