talvo_fuzz(fuzz_measure SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzSentBytes.cpp LIBS MeasureEngine CommonUtils)
