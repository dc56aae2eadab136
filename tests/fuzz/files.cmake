talvo_fuzz(fuzz_ini SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzIniFile.cpp LIBS Files)
