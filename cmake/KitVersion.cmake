# The kit's version: the cache option KIT_VERSION is the one place it is
# written. The build refuses a version that the kit's own version check would
# not read back as that version from the record the kit writes.
#
#   include(cmake/KitVersion.cmake)     in the project: checks KIT_VERSION,
#                                       sets the KIT_VERSION_* variables below
#                                       and writes the generated header
#   cmake -DKIT_VERSION=2.41 -P cmake/KitVersion.cmake
#                                       checks one value alone and prints what
#                                       the build would make of it
#
# KIT_VERSION_COUNT  the kit constant, a count of ten-thousandths (23900)
# KIT_VERSION_MAJOR  units, and
# KIT_VERSION_MINOR  hundredths: the version resource's and the manifest's
#                    first two numbers (2, 39)
# KIT_VERSION_SHOWN  the kit version text in the caption and the record, the
#                    shortest decimal form ("2.39"; 2.40 shows as "2.4")

if(NOT CMAKE_SCRIPT_MODE_FILE)
  set(KIT_VERSION "2.39" CACHE STRING
      "The version this kit installs: units and two decimals, as in 2.39")
endif()

# Sets the KIT_VERSION_* variables in the caller, or stops with an error that
# says why the version can't be used.
function(kit_version_parts version)
  set(refuse "KIT_VERSION '${version}' can't be used:")
  set(example "give units and two decimals, as in 2.39 or 2.40")
  if(NOT version MATCHES "^([0-9]+)(\\.([0-9]*))?$")
    message(FATAL_ERROR "${refuse} it is no decimal number; ${example}")
  endif()
  set(units "${CMAKE_MATCH_1}")
  set(decimals "${CMAKE_MATCH_3}")
  string(LENGTH "${units}" units_length)
  string(LENGTH "${decimals}" decimals_length)
  if(units_length GREATER 9 OR decimals_length GREATER 4)
    message(FATAL_ERROR "${refuse} the kit keeps at most four decimals and nine digits of units; ${example}")
  endif()

  # The kit constant, and its text as the kit writes it: the shortest form.
  string(SUBSTRING "${decimals}0000" 0 4 fraction)
  math(EXPR count "${units} * 10000 + 1${fraction} - 10000")
  math(EXPR whole "${count} / 10000")
  string(REGEX REPLACE "0+$" "" fraction "${fraction}")
  set(shown "${whole}")
  if(NOT fraction STREQUAL "")
    set(shown "${whole}.${fraction}")
  endif()

  # What the version check makes of the record "Meridal - 2013 v.<shown>":
  # the last four characters, from the first digit on, with a "0" appended
  # when shorter; none at all, or "0", is no installed version.
  set(record "Meridal - 2013 v.${shown}")
  string(LENGTH "${record}" record_length)
  math(EXPR tail_start "${record_length} - 4")
  string(SUBSTRING "${record}" ${tail_start} 4 read)
  string(REGEX REPLACE "^[^0-9]+" "" read "${read}")
  if(read STREQUAL "" OR read STREQUAL "0")
    message(FATAL_ERROR "${refuse} the kit would record \"${record}\", which its version check reads as "
                        "no installed version; ${example}")
  endif()
  string(LENGTH "${read}" read_length)
  if(read_length LESS 4)
    string(APPEND read "0")
  endif()
  if(NOT read STREQUAL version)
    message(FATAL_ERROR "${refuse} the kit would record \"${record}\", which its version check reads back "
                        "as '${read}'; ${example}")
  endif()

  set(KIT_VERSION_COUNT ${count} PARENT_SCOPE)
  set(KIT_VERSION_MAJOR ${whole} PARENT_SCOPE)
  math(EXPR hundredths "${count} / 100 % 100")
  set(KIT_VERSION_MINOR ${hundredths} PARENT_SCOPE)
  set(KIT_VERSION_SHOWN "${shown}" PARENT_SCOPE)
endfunction()

kit_version_parts("${KIT_VERSION}")

if(CMAKE_SCRIPT_MODE_FILE)
  message("KIT_VERSION ${KIT_VERSION}: constant ${KIT_VERSION_COUNT}, resource ${KIT_VERSION_MAJOR}.${KIT_VERSION_MINOR}.0.0, "
          "shown as ${KIT_VERSION_SHOWN}")
else()
  # The header the kit, its resources and the test programs read the version from.
  set(KIT_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildVersion.h.in ${KIT_GENERATED_DIR}/BuildVersion.h @ONLY)
endif()
