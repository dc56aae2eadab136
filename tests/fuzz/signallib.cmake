talvo_fuzz(fuzz_signallib SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzSignalLib.cpp LIBS SignalTalvoCore)
