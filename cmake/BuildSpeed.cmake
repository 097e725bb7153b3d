# How the test programs are compiled so that `make test`, which builds everything twice
# (once with the sanitizers), stays quick on a small machine: each test program as a few
# unity files, with line tables for debug information. What is tested is the product
# code, which keeps the build type's own flags.
#
# A unity file puts several test files into one translation unit: names in anonymous
# namespaces must differ between the files of one test program (a helper used by several
# belongs in tests/support). PRINTSET_UNITY_TESTS=OFF compiles each file on its own.
option(PRINTSET_UNITY_TESTS "Compile each test program as a few unity files" ON)
set(PRINTSET_UNITY_BATCH_SIZE 8 CACHE STRING "Test files per unity file")

# Headers most test files read, parsed once per test program when its files are compiled
# one by one. A unity file parses them once anyway: there, building the precompiled
# header costs more than it saves.
set(PRINTSET_TEST_PRECOMPILED
    <gtest/gtest.h> <algorithm> <atomic> <chrono> <cstdint> <cstdio> <cstring> <filesystem>
    <fstream> <functional> <map> <memory> <optional> <set> <sstream> <string> <thread> <vector>)
# And those of the test programs that drive widgets.
set(PRINTSET_TEST_PRECOMPILED_QT
    <QApplication> <QComboBox> <QLabel> <QLineEdit> <QListWidget> <QPushButton> <QString> <QWidget>)

# `target`, a test program; `usesWidgets`, whether it links the window.
function(printset_quick_test_build target usesWidgets)
  set_target_properties(${target} PROPERTIES
    UNITY_BUILD ${PRINTSET_UNITY_TESTS} UNITY_BUILD_BATCH_SIZE ${PRINTSET_UNITY_BATCH_SIZE})
  if(NOT PRINTSET_UNITY_TESTS)
    target_precompile_headers(${target} PRIVATE ${PRINTSET_TEST_PRECOMPILED})
    if(usesWidgets)
      target_precompile_headers(${target} PRIVATE ${PRINTSET_TEST_PRECOMPILED_QT})
    endif()
  endif()
  # Line tables are enough for a failing test's stack; full debug information of gtest's
  # templates is most of a test object's size and compile time. Optimised test code
  # (-O2) buys nothing: the optimised build's product code keeps -O2.
  target_compile_options(${target} PRIVATE $<$<CONFIG:RelWithDebInfo>:-O1> $<$<CONFIG:RelWithDebInfo,Debug>:-g1>)
endfunction()

# The product's own targets whose files read large headers: the window's (Qt Widgets),
# each parsed once per target; and the targets whose files read the JSON writer and the
# option parser (printset-cli, the front-end core, the simulated printer), compiled as a
# few unity files, each parsing those headers once. Names in anonymous namespaces must
# differ between the files of such a target.
function(printset_quick_product_build)
  if(TARGET printset_ui)
    target_precompile_headers(printset_ui PRIVATE
      <QComboBox> <QLabel> <QPushButton> <QString> <QWidget> <string> <vector>)
  endif()
  foreach(target printset-cli printset_frontend printset_sim)
    if(TARGET ${target})
      set_target_properties(${target} PROPERTIES
        UNITY_BUILD ${PRINTSET_UNITY_TESTS} UNITY_BUILD_BATCH_SIZE ${PRINTSET_UNITY_BATCH_SIZE})
    endif()
  endforeach()
endfunction()
