talvo_fuzz(fuzz_numbers SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzNumbers.cpp LIBS CommonUtils)
