talvo_fuzz(fuzz_ini SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzIniFile.cpp LIBS Files)
talvo_fuzz(fuzz_signal_file SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzSignalFile.cpp LIBS SignalFiles)
