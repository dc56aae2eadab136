talvo_fuzz(fuzz_sfl SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzListFile.cpp LIBS Schedule)
