# The version text comes from `git describe`; a tree without history says "0.0-dev".
execute_process(
  COMMAND git describe --tags --always --dirty
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  OUTPUT_VARIABLE TALVO_VERSION
  OUTPUT_STRIP_TRAILING_WHITESPACE
  ERROR_QUIET)
if(NOT TALVO_VERSION)
  set(TALVO_VERSION "0.0-dev")
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/TalvoVersion.h.in ${CMAKE_BINARY_DIR}/generated/TalvoVersion.h @ONLY)
add_library(talvo_version INTERFACE)
target_include_directories(talvo_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
