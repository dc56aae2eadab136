# The shared library must export exactly its eight functions and nothing else.
#   cmake -DLIBRARY=<path to libSignalTalvo.so> -P CheckExports.cmake
set(expected CheckPort CheckSignalData GetDllVersion GetErrorText GetOutSignalData SetSignal
  StopCollapsesOvervoltages StopSignal)

execute_process(COMMAND nm -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()

string(REPLACE "\n" ";" lines "${listing}")
set(names)
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-fA-F]* *[A-Za-z] (.+)$")
    list(APPEND names ${CMAKE_MATCH_1})
  endif()
endforeach()
list(SORT names)

if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exported: ${names}\nexpected: ${expected}")
endif()
message(STATUS "exports: ${names}")
