# Writes a resource script that holds the CRC-32 of each payload item, in
# catalogue order, as one resource of its own: type CRC32, name UPGRADE,
# language Romanian like the items; each value four bytes, little-endian.
# The kit checks its items against it before it writes any of them.
#
#   cmake -DOUTPUT=<file.rc> "-DFILES=<first item>;<second item>;..." -P cmake/PayloadChecksums.cmake
#
# CMake computes no CRC-32 itself, but a gzip stream ends with the CRC-32 of
# the bytes it packs, then their count, both little-endian: each file is
# packed once into a scratch file and the value read from there.

foreach(var OUTPUT FILES)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "PayloadChecksums: -D${var}=... is required")
  endif()
endforeach()

set(scratch "${OUTPUT}.gz")
set(values "")
foreach(file IN LISTS FILES)
  if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}")
    message(FATAL_ERROR "PayloadChecksums: payload file '${file}' does not exist")
  endif()
  file(REMOVE "${scratch}")
  file(ARCHIVE_CREATE OUTPUT "${scratch}" PATHS "${file}" FORMAT raw COMPRESSION GZip)
  file(SIZE "${file}" size)
  file(SIZE "${scratch}" packed)
  math(EXPR trailer "${packed} - 8")
  file(READ "${scratch}" tail OFFSET ${trailer} HEX)
  # The trailer's byte count (modulo 2^32) proves it is this file's trailer.
  string(SUBSTRING "${tail}" 8 8 count)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" count "${count}")
  math(EXPR expected "${size} % 4294967296" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR count "0x${count}" OUTPUT_FORMAT HEXADECIMAL)
  if(NOT count STREQUAL expected)
    message(FATAL_ERROR "PayloadChecksums: packing '${file}' gave no gzip trailer of its ${size} bytes")
  endif()
  string(SUBSTRING "${tail}" 0 8 crc)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" crc "${crc}")
  get_filename_component(name "${file}" NAME)
  string(APPEND values "  0x${crc}L,  // ${name}\n")
endforeach()
file(REMOVE "${scratch}")
string(REGEX REPLACE ",(  // [^\n]*\n)$" " \\1" values "${values}")

# Written whole, then renamed, so a failed run leaves no script that looks
# up to date.
file(WRITE "${OUTPUT}.partial"
     "// The CRC-32 of each payload item, in catalogue order (written by cmake/PayloadChecksums.cmake).\n"
     "LANGUAGE 0x18, 0x01\n"
     "UPGRADE CRC32\n"
     "BEGIN\n"
     "${values}"
     "END\n")
file(RENAME "${OUTPUT}.partial" "${OUTPUT}")
