talvo_fuzz(fuzz_export SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzWorkbook.cpp LIBS Export)
