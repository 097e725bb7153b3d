# The version every program reports: the project's version and the commit it was built
# from, fixed when the build folder is configured ("make build" configures each time).
find_package(Git QUIET)
set(PRINTSET_BUILD_COMMIT "unknown")
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} describe --always --dirty
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE describeResult ERROR_QUIET)
  if(describeResult EQUAL 0 AND commit)
    set(PRINTSET_BUILD_COMMIT "${commit}")
  endif()
endif()

# configure_file rewrites the header only when its text changes, so an unchanged commit
# rebuilds nothing.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${PROJECT_BINARY_DIR}/generated/printset/Version.h @ONLY)
add_library(printset_version INTERFACE)
target_include_directories(printset_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
