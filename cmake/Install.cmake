# What `cmake --install` puts where, beside the programs themselves (whose install rules
# stand next to their targets): manual pages, desktop files, shell completion and the
# sample settings file. Then the Debian package.
if(NOT TARGET printset-cli)
  return()  # a build without the programs (the fuzz targets) installs nothing
endif()

set(PRINTSET_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# Manual pages, made by help2man from each built program's --help and --version.
find_program(HELP2MAN_EXECUTABLE help2man)
find_program(GZIP_EXECUTABLE gzip)
set(PRINTSET_MAN_PAGES OFF)
if(HELP2MAN_EXECUTABLE AND GZIP_EXECUTABLE)
  set(PRINTSET_MAN_PAGES ON)
  set(manDir ${PROJECT_BINARY_DIR}/man)
  set(manPages)
  foreach(entry
          "printset|a receipt printer configuration window"
          "printset-cli|configure a receipt printer from the command line"
          "printer-sim|a simulated receipt printer on a pseudo-terminal or UDP")
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 program)
    list(GET entry 1 description)
    set(include ${PRINTSET_PACKAGING_DIR}/man/${program}.h2m)
    # -N: no pointer to a Texinfo manual. SOURCE_DATE_EPOCH, when set, fixes the date.
    add_custom_command(
      OUTPUT ${manDir}/${program}.1.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${manDir}
      COMMAND ${HELP2MAN_EXECUTABLE} -N -n "${description}" --include ${include}
              --output ${manDir}/${program}.1 $<TARGET_FILE:${program}>
      COMMAND ${GZIP_EXECUTABLE} -9nf ${manDir}/${program}.1
      DEPENDS ${program} ${include}
      COMMENT "Manual page ${program}.1"
      VERBATIM)
    list(APPEND manPages ${manDir}/${program}.1.gz)
  endforeach()
  add_custom_target(printset_man ALL DEPENDS ${manPages})
  if(TARGET install_tests)
    add_dependencies(install_tests printset_man)
  endif()
  install(FILES ${manPages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man or gzip not found: no manual pages (make deps installs help2man)")
endif()

install(FILES ${PRINTSET_PACKAGING_DIR}/printset.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PRINTSET_PACKAGING_DIR}/printset.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PRINTSET_PACKAGING_DIR}/io.github.printset.printset.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PRINTSET_PACKAGING_DIR}/printset-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME printset-cli)
install(FILES ${PRINTSET_PACKAGING_DIR}/config.ini DESTINATION ${CMAKE_INSTALL_DATADIR}/printset)

# The licence in Debian's copyright form and the changelog, compressed as Debian's tools
# expect, in share/doc/printset. The changelog's newest entry must name this version.
file(STRINGS ${PRINTSET_PACKAGING_DIR}/changelog changelogTop LIMIT_COUNT 1)
if(NOT changelogTop MATCHES "^printset \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry is not ${PROJECT_VERSION}: ${changelogTop}")
endif()
install(FILES ${PRINTSET_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(GZIP_EXECUTABLE)
  set(changelogGz ${PROJECT_BINARY_DIR}/changelog.gz)
  add_custom_command(
    OUTPUT ${changelogGz}
    COMMAND ${GZIP_EXECUTABLE} -9nc ${PRINTSET_PACKAGING_DIR}/changelog > ${changelogGz}
    DEPENDS ${PRINTSET_PACKAGING_DIR}/changelog
    COMMENT "changelog.gz")
  add_custom_target(printset_changelog ALL DEPENDS ${changelogGz})
  install(FILES ${changelogGz} DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# `make uninstall`: removes what the last `cmake --install` of this build folder put in
# place (install_manifest.txt) and the folders it made.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -P ${CMAKE_CURRENT_LIST_DIR}/Uninstall.cmake
  COMMENT "Removing what was installed from ${PROJECT_BINARY_DIR}")

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
