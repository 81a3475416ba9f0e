# Our own code builds without warnings; Qt's headers are system headers.
function(orvanel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# One static library per folder of the source tree; includes name files from the tree's
# root ("phonebook/store/recordset.h").
function(orvanel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  orvanel_warnings(${name})
endfunction()

# A Qt Test suite run by ctest on the offscreen platform, each in a world of its own. The
# coverage build, unoptimised and counting every line, takes some suites several times as
# long: a suite cut off there would count for nothing.
if(CMAKE_CXX_FLAGS MATCHES "--coverage")
  set(ORVANEL_TEST_TIMEOUT 1800)
else()
  set(ORVANEL_TEST_TIMEOUT 300)
endif()
function(orvanel_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
  orvanel_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0;QT_LOGGING_RULES=qt.qpa.*=false"
    TIMEOUT ${ORVANEL_TEST_TIMEOUT})
endfunction()
