# The Windows cross build (PRINTSET_WINDOWS_CROSS): what needs no Qt. Qt for Windows
# cannot be installed on the build machine; pictures and the port list come from the
# system's own libraries (WIC, SetupAPI).
if(NOT WIN32)
  message(FATAL_ERROR "PRINTSET_WINDOWS_CROSS needs -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake")
endif()
find_package(Threads REQUIRED)
enable_testing()
include(GNUInstallDirs)
include(cmake/Version.cmake)

# Windows 7 and later: WSAPoll, _mkgmtime and the console control handler are there.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601)

add_subdirectory(src/base)
add_subdirectory(src/link)
add_subdirectory(src/engine)
add_subdirectory(src/settings)
add_subdirectory(src/report)
add_subdirectory(src/logo)
add_subdirectory(src/ports)

# printset-cli.exe: no window; logo and ports on the system's picture decoder and port lister.
set(PRINTSET_WITH_QT OFF)
# The argument parser and the JSON writer are header-only; the host's copies serve. Only
# their two folders are put on the include path (not all of /usr/include), through links
# in the build tree.
set(PRINTSET_HOST_HEADERS ${PROJECT_BINARY_DIR}/host-headers)
foreach(folder CLI nlohmann)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: make deps installs it")
  endif()
  file(MAKE_DIRECTORY ${PRINTSET_HOST_HEADERS})
  file(CREATE_LINK /usr/include/${folder} ${PRINTSET_HOST_HEADERS}/${folder} SYMBOLIC)
endforeach()
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${PRINTSET_HOST_HEADERS})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${PRINTSET_HOST_HEADERS})
# The front-end core, after the JSON writer's target it links.
add_subdirectory(src/frontend)
# The window: the system's own controls; its resources (icon, manifest, version) go
# through the resource compiler.
enable_language(RC)
add_subdirectory(src/ui/win32)
add_subdirectory(src/app)
add_subdirectory(tests)
