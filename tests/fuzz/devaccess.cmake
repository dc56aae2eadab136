talvo_fuzz(fuzz_devaccess SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzModbusResponse.cpp LIBS DeviceAccess CommonUtils)
