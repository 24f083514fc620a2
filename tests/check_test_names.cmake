# Fails when a test's name, as ctest lists it, is more than letters, digits, '_', '.' and '/'.
# A parameterised test without a name generator is named after its parameter's bytes, which
# hold raw pointers and so change with every build and cannot be picked out with -R.
# usage: cmake -DCTEST=<ctest> -DBUILD_DIR=<build folder> -P check_test_names.cmake
execute_process(COMMAND "${CTEST}" -N WORKING_DIRECTORY "${BUILD_DIR}" OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ctest -N failed (${status})")
endif()
string(REGEX MATCHALL "Test +#[0-9]+: [^\n]*" tests "${listing}")
list(LENGTH tests count)
if(count EQUAL 0)
  message(FATAL_ERROR "ctest -N listed no tests")
endif()
set(bad "")
foreach(test IN LISTS tests)
  string(REGEX REPLACE "^Test +#[0-9]+: " "" name "${test}")
  if(NOT name MATCHES "^[A-Za-z0-9_./]+$" OR name MATCHES "0x[0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]")
    string(APPEND bad "\n  ${name}")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "test names that are not plain, stable text:${bad}")
endif()
message(STATUS "${count} test names are plain text")
