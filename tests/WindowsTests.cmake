# The Windows test programs (cross build): the tests whose sources run on both systems,
# built from the same files as on Linux. Under Wine their far ends are native programs
# that `make test-windows` starts (support/wine/run-tests.sh): printer-sim for the
# printer, printset-line-relay for byte-by-byte serial lines. Everything else stays
# Linux-only.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
# GoogleTest from Debian's source package, compiled with the cross compiler.
add_subdirectory(/usr/src/googletest ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(tools ${PROJECT_SOURCE_DIR}/tools)
add_library(printset_testsupport STATIC
  support/PeerPoolWin32.cpp support/PtyPair.cpp support/PtyPairWin32.cpp support/TempDir.cpp
  support/TestFiles.cpp support/TestPrinterWin32.cpp support/TraceMatch.cpp
  # The simulated printer's pure pieces: reply packets, demo images, download memory.
  ${tools}/sim/DemoImage.cpp ${tools}/sim/SimReply.cpp ${tools}/sim/SparseMemory.cpp)
target_include_directories(printset_testsupport PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${tools})
target_link_libraries(printset_testsupport PUBLIC printset_engine gtest ws2_32)

function(printset_windows_test_program name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE printset_testsupport gtest gtest_main)
endfunction()

printset_windows_test_program(link_tests link/UniUartTest.cpp link/TransactTest.cpp link/PortNamesWin32Test.cpp)
printset_windows_test_program(engine_tests engine/TransferTest.cpp)
# The picture cases read by WIC, against their pictures and the Linux build's packing.
printset_windows_test_program(logo_tests logo/PicturePackingTest.cpp logo/PictureCases.cpp logo/HandMadePng.cpp
                              support/BmpFile.cpp)
target_link_libraries(logo_tests PRIVATE printset_logo_win32)
# The table of settings files TProfileFile is held to, read by the Windows functions.
add_executable(profile_tests settings/ProfileReadWin32Test.cpp)
target_include_directories(profile_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(profile_tests PRIVATE gtest gtest_main)

# Not a test: the host's time per block under Wine, for the README's figures.
add_executable(printset-block-timing support/wine/block_timing.cpp)
target_link_libraries(printset-block-timing PRIVATE printset_testsupport)
# The NVRAM page's pure rules: the preview's placement and the THRESHOLD box's number.
set(ui_win32 ${PROJECT_SOURCE_DIR}/src/ui/win32)
printset_windows_test_program(ui_tests ui/win32/LogoPageWin32Test.cpp ${ui_win32}/PreviewPlacementWin32.cpp
                              ${ui_win32}/DotRuleThresholdWin32.cpp)
target_include_directories(ui_tests PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(ui_tests PRIVATE printset_logo)
# The logo list model as the Windows window uses it: names made from Windows paths.
printset_windows_test_program(frontend_tests frontend/LogoListTest.cpp)
target_link_libraries(frontend_tests PRIVATE printset_frontend)

# The window, printset.exe, driven as an operator would under Wine's null display driver
# (support/wine/window-tests.sh starts its printers and runs it).
add_library(printset_driven_window STATIC support/wine/DrivenWindow.cpp)
target_include_directories(printset_driven_window PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(printset_driven_window PUBLIC printset_base comctl32)
printset_windows_test_program(window_driver support/wine/window_driver.cpp support/wine/WindowFit.cpp
                              support/BmpFile.cpp)
target_link_libraries(window_driver PRIVATE printset_driven_window printset_frontend printset_settings printset_ui_win32)
# Not a test: shows the window's pages in turn for support/wine/window-screenshots.sh.
add_executable(printset-window-shots support/wine/window_shots.cpp)
target_link_libraries(printset-window-shots PRIVATE printset_driven_window)
if(TARGET printset)
  add_dependencies(window_driver printset printset-cli)
  add_dependencies(printset-window-shots printset)
endif()
