# Runs a Qt Test program through the cross build's emulator (wine), where its
# standard output is lost: it writes its log to a file, printed afterwards.
#
#   cmake -DEMULATOR=<emulator;args> -DPROGRAM=<test .exe> -DLOG=<file> -P run-qtest.cmake
file(REMOVE "${LOG}")
execute_process(COMMAND ${EMULATOR} "${PROGRAM}" -o "${LOG},txt" RESULT_VARIABLE result)
if(EXISTS "${LOG}")
    file(READ "${LOG}" text)
    message("${text}")
endif()
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ended with ${result}")
endif()
