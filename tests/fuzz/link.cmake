talvo_fuzz(fuzz_link SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzConfirmations.cpp LIBS Link SignalTalvoDevice CommonUtils)
