talvo_fuzz(fuzz_flicker_table SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzFlickerTable.cpp LIBS Signal)
