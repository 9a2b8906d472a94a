# Copies INPUT to OUTPUT and appends filler bytes until OUTPUT is exactly SIZE
# bytes long. Used to bring an executable to a fixed size: the filler lands
# after the PE image as an overlay, which the loader ignores.
#
#   cmake -DINPUT=<in> -DOUTPUT=<out> -DSIZE=<bytes> -P cmake/PadFile.cmake
#
# CMake strings cannot hold NUL bytes, so the filler is a printable byte (and
# not a line break, which file(APPEND) might translate on Windows).

foreach(var INPUT OUTPUT SIZE)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "PadFile: -D${var}=... is required")
  endif()
endforeach()
if(NOT SIZE MATCHES "^[0-9]+$")
  message(FATAL_ERROR "PadFile: SIZE must be a byte count, got '${SIZE}'")
endif()
if(NOT EXISTS "${INPUT}" OR IS_DIRECTORY "${INPUT}")
  message(FATAL_ERROR "PadFile: input file '${INPUT}' does not exist")
endif()

file(SIZE "${INPUT}" input_size)
if(input_size GREATER SIZE)
  message(FATAL_ERROR
    "PadFile: '${INPUT}' is ${input_size} bytes, larger than the ${SIZE} bytes it must be padded to")
endif()
math(EXPR missing "${SIZE} - ${input_size}")

# Build into a temporary file and rename at the end, so a failed run never
# leaves an OUTPUT that looks up to date.
set(partial "${OUTPUT}.partial")
get_filename_component(output_dir "${OUTPUT}" DIRECTORY)
if(output_dir)
  file(MAKE_DIRECTORY "${output_dir}")
endif()
file(COPY_FILE "${INPUT}" "${partial}")

# Append the filler a megabyte at a time, then the remainder.
set(filler_byte ".")
set(block_size 1048576)
string(REPEAT "${filler_byte}" ${block_size} block)
set(remaining ${missing})
while(remaining GREATER_EQUAL block_size)
  file(APPEND "${partial}" "${block}")
  math(EXPR remaining "${remaining} - ${block_size}")
endwhile()
if(remaining GREATER 0)
  string(REPEAT "${filler_byte}" ${remaining} tail)
  file(APPEND "${partial}" "${tail}")
endif()

file(SIZE "${partial}" output_size)
if(NOT output_size EQUAL SIZE)
  file(REMOVE "${partial}")
  message(FATAL_ERROR "PadFile: wrote ${output_size} bytes instead of ${SIZE}")
endif()
file(RENAME "${partial}" "${OUTPUT}")
