# Which folders `cmake --install` makes: before the first file is installed, every folder
# the install puts files in (and each of its parents up to the prefix) that does not exist
# yet is added to install_folders_made.txt in the build folder, so that the uninstall
# target removes those and leaves folders that were there before. Included before the
# subdirectories, so that this rule runs first.
set(PRINTSET_INSTALL_FOLDERS
    ${CMAKE_INSTALL_BINDIR}
    ${CMAKE_INSTALL_MANDIR}/man1
    ${CMAKE_INSTALL_DATADIR}/applications
    ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    ${CMAKE_INSTALL_DATADIR}/metainfo
    ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    ${CMAKE_INSTALL_DATADIR}/printset
    ${CMAKE_INSTALL_DOCDIR})
set(PRINTSET_INSTALL_FOLDERS_RECORD ${PROJECT_BINARY_DIR}/install_folders_made.txt)
install(CODE "
  set(prefix \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(made)
  if(EXISTS \"${PRINTSET_INSTALL_FOLDERS_RECORD}\")
    file(STRINGS \"${PRINTSET_INSTALL_FOLDERS_RECORD}\" made)
  endif()
  foreach(folder ${PRINTSET_INSTALL_FOLDERS})
    while(NOT folder STREQUAL \"\" AND NOT folder STREQUAL \".\")
      if(NOT IS_DIRECTORY \"\${prefix}/\${folder}\")
        list(APPEND made \"\${prefix}/\${folder}\")
      endif()
      get_filename_component(folder \"\${folder}\" DIRECTORY)
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES made)
  list(JOIN made \"\\n\" text)
  file(WRITE \"${PRINTSET_INSTALL_FOLDERS_RECORD}\" \"\${text}\\n\")
")
