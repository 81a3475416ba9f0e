# Writes the local-machine registry hive beside the program, naming the system
# information program that About > System Info starts, when there is no hive yet; a hive
# already there is the user's and stays as it is. Without such a program no hive is
# written, and System Info tells the user it is unavailable.
#   cmake -DHIVE=<folder>/registry/local-machine.reg -P place-registry.cmake
if(EXISTS "${HIVE}")
  return()
endif()
find_program(SYSINFO NAMES hardinfo hardinfo2 NO_CACHE)
if(NOT SYSINFO)
  message(STATUS "No system information program found: System Info will be unavailable")
  return()
endif()
string(REPLACE "\\" "\\\\" escaped "${SYSINFO}")
string(REPLACE "\"" "\\\"" escaped "${escaped}")
get_filename_component(folder "${HIVE}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
file(WRITE "${HIVE}.new" "REGEDIT4

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]
\"PATH\"=\"${escaped}\"
")
file(RENAME "${HIVE}.new" "${HIVE}")
