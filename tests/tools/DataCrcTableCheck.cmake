# Runs data-crc-table on a folder of two files: the table lists a file
# within the loader's nesting limit; a file nested past it fails the build
# step with a line naming it.
#
# cmake -DTOOL=... -DWORK_DIR=... -P DataCrcTableCheck.cmake

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/shallow.xml "<root><a><b/></a></root>\n")
set(deep "")
foreach(i RANGE 256)
  string(APPEND deep "<a>")
endforeach()
file(WRITE ${WORK_DIR}/deep.xml "${deep}")

execute_process(COMMAND ${TOOL} ${WORK_DIR}/table.cpp ${WORK_DIR} shallow missing
  RESULT_VARIABLE code ERROR_VARIABLE err)
file(READ ${WORK_DIR}/table.cpp table)
if(NOT code EQUAL 0 OR NOT table MATCHES "\"shallow\", 0x" OR table MATCHES "missing")
  message(FATAL_ERROR "shallow: exit ${code}\n${err}${table}")
endif()

execute_process(COMMAND ${TOOL} ${WORK_DIR}/table2.cpp ${WORK_DIR} shallow deep
  RESULT_VARIABLE code ERROR_VARIABLE err)
if(code EQUAL 0 OR NOT err MATCHES "deep.xml nests deeper than 256 elements at byte 768")
  message(FATAL_ERROR "deep: exit ${code}\n${err}")
endif()
