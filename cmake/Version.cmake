# The program's version is the project's. A build from any commit but the
# one tagged v<version> carries that commit as a suffix (1.0.0+gabc1234), so
# the number always shows and two builds of one number are told apart.
set(TALVO_VERSION ${PROJECT_VERSION})
execute_process(
  COMMAND git describe --tags --exact-match --match v${PROJECT_VERSION}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  RESULT_VARIABLE talvo_untagged
  OUTPUT_QUIET ERROR_QUIET)
if(talvo_untagged)
  execute_process(
    COMMAND git rev-parse --short HEAD
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE talvo_commit
    OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_QUIET)
  if(talvo_commit)
    set(TALVO_VERSION "${PROJECT_VERSION}+g${talvo_commit}")
  endif()
endif()
# The digest of the calibrator's own program that the software identification
# shows; it belongs to the calibrator's firmware release and is set where that
# release is known.
set(TALVO_CALIBRATOR_DIGEST "" CACHE STRING "MD5 of the calibrator program kalibrator_f4a852.bin (32 hex digits)")
configure_file(${CMAKE_SOURCE_DIR}/cmake/TalvoVersion.h.in ${CMAKE_BINARY_DIR}/generated/TalvoVersion.h @ONLY)
add_library(talvo_version INTERFACE)
target_include_directories(talvo_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
