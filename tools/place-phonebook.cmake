# Puts a phone book with a dozen sample contacts in the program folder when there is
# none; a phone book already there is the user's and stays as it is.
#   cmake -DTOOL=<orvanel-phonebook> -DDATABASE=<folder>/ORVANEL.MDB -P place-phonebook.cmake
if(EXISTS "${DATABASE}")
  return()
endif()
execute_process(COMMAND "${TOOL}" init "${DATABASE}" RESULT_VARIABLE failed)
if(NOT failed)
  execute_process(COMMAND "${TOOL}" sample "${DATABASE}" 12 RESULT_VARIABLE failed)
endif()
if(failed)
  file(REMOVE "${DATABASE}")
  message(FATAL_ERROR "The sample phone book could not be made")
endif()
