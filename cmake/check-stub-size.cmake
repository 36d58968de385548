# Fails when the stub is missing or larger than its budget: every byte of it
# is taken from the first disk.
#   cmake -DSTUB=path -DLIMIT=bytes -P check-stub-size.cmake
if(NOT EXISTS "${STUB}")
  message(FATAL_ERROR "no stub at ${STUB}: build it with the win32 preset")
endif()
file(SIZE "${STUB}" size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${STUB} is ${size} bytes, over its budget of ${LIMIT}")
endif()
message(STATUS "${STUB} is ${size} bytes (budget ${LIMIT})")
