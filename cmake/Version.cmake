# The one version is project(... VERSION). A build from a git checkout also
# names its commit (git describe); a build from a tarball has no .git and
# prints the plain version. The header is rewritten at every build, but only
# when its text changes, so a new commit recompiles the few files that print it.
# The day this version was released, for the metainfo and the man pages;
# changes with project(... VERSION).
set(QEL_RELEASE_DATE 2026-12-10)

# The reverse-DNS id of the desktop entry, the metainfo and the icons.
set(QEL_APP_ID io.github.qelmorvane.qelmorvane)

set(QEL_VERSION_HEADER ${CMAKE_BINARY_DIR}/generated/QelVersion.h)
set(_qel_version_args
  -DQEL_SOURCE_DIR=${CMAKE_SOURCE_DIR}
  -DQEL_VERSION=${PROJECT_VERSION}
  -DQEL_VERSION_HEADER=${QEL_VERSION_HEADER}
  -DQEL_APP_ID=${QEL_APP_ID})

# Once now, so that the header exists for tools reading compile_commands.json.
execute_process(COMMAND ${CMAKE_COMMAND} ${_qel_version_args} -P ${CMAKE_CURRENT_LIST_DIR}/WriteVersion.cmake)

add_custom_target(qel_version_header
  COMMAND ${CMAKE_COMMAND} ${_qel_version_args} -P ${CMAKE_CURRENT_LIST_DIR}/WriteVersion.cmake
  BYPRODUCTS ${QEL_VERSION_HEADER}
  COMMENT "Checking the version"
  VERBATIM)

# Link qel_version to include "QelVersion.h".
add_library(qel_version INTERFACE)
target_include_directories(qel_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
add_dependencies(qel_version qel_version_header)
