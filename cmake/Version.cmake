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
# The digest of the calibrator's own program that the software identification
# shows; it belongs to the calibrator's firmware release and is set where that
# release is known.
set(TALVO_CALIBRATOR_DIGEST "" CACHE STRING "MD5 of the calibrator program kalibrator_f4a852.bin (32 hex digits)")
configure_file(${CMAKE_SOURCE_DIR}/cmake/TalvoVersion.h.in ${CMAKE_BINARY_DIR}/generated/TalvoVersion.h @ONLY)
add_library(talvo_version INTERFACE)
target_include_directories(talvo_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
