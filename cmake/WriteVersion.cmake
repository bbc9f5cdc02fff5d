# cmake -DQEL_SOURCE_DIR=... -DQEL_VERSION=1.2.3 -DQEL_VERSION_HEADER=out.h -DQEL_APP_ID=... -P WriteVersion.cmake
# Writes the version header; leaves it untouched when nothing changed.
set(describe "")
if(EXISTS "${QEL_SOURCE_DIR}/.git")
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(
      COMMAND "${GIT_EXECUTABLE}" describe --tags --always --dirty
      WORKING_DIRECTORY "${QEL_SOURCE_DIR}"
      RESULT_VARIABLE result
      OUTPUT_VARIABLE out
      ERROR_QUIET
      OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(result EQUAL 0 AND out MATCHES "^[A-Za-z0-9._+-]+$")
      set(describe "${out}")
    endif()
  endif()
endif()

if(describe STREQUAL "")
  set(full "${QEL_VERSION}")
else()
  set(full "${QEL_VERSION} (${describe})")
endif()

set(text "// Written by WriteVersion.cmake at build time.
#pragma once
#define QEL_VERSION \"${QEL_VERSION}\"
#define QEL_VERSION_DESCRIBE \"${describe}\"
#define QEL_VERSION_FULL \"${full}\"
#define QEL_APP_ID \"${QEL_APP_ID}\"
")
set(old "")
if(EXISTS "${QEL_VERSION_HEADER}")
  file(READ "${QEL_VERSION_HEADER}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${QEL_VERSION_HEADER}" "${text}")
endif()
