# The stand-in for the application's executable: a small Win32 GUI program,
# padded to the size of the real one and carried as the MERIDAL payload item.
#
# Defines
#   meridal_standin         the program itself (PE32 GUI, subsystem 4.00 with
#                           MinGW, statically linked, stripped)
#   MERIDAL_STANDIN_EXE     ${CMAKE_BINARY_DIR}/payload/Meridal_2013.exe, the
#                           program padded to MERIDAL_STANDIN_SIZE bytes
#   meridal_standin_padded  target that brings MERIDAL_STANDIN_EXE up to date
# The last two only where no MERIDAL_EXE is given: the vendor's file takes
# the padded stand-in's place then.

set(MERIDAL_STANDIN_SIZE 7256064)
set(MERIDAL_STANDIN_EXE "${CMAKE_BINARY_DIR}/payload/Meridal_2013.exe")
get_filename_component(_meridal_pad_script
  "${CMAKE_CURRENT_LIST_DIR}/../../cmake/PadFile.cmake" ABSOLUTE)

add_executable(meridal_standin WIN32 "${CMAKE_CURRENT_LIST_DIR}/Standin.cpp")
target_compile_features(meridal_standin PRIVATE cxx_std_17)
# It names the version it stands in for: the kit's (BuildVersion.h, generated).
target_include_directories(meridal_standin PRIVATE "${KIT_GENERATED_DIR}")

if(MSVC)
  # Static C runtime; current link.exe refuses subsystem versions below 5.01.
  set_property(TARGET meridal_standin PROPERTY
    MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  target_link_options(meridal_standin PRIVATE /SUBSYSTEM:WINDOWS,5.01)
else()
  target_link_options(meridal_standin PRIVATE
    -static -static-libgcc -static-libstdc++ -s
    -Wl,--major-subsystem-version,4,--minor-subsystem-version,0)
endif()

if(NOT MERIDAL_EXE)
  add_custom_command(
    OUTPUT "${MERIDAL_STANDIN_EXE}"
    COMMAND "${CMAKE_COMMAND}"
            "-DINPUT=$<TARGET_FILE:meridal_standin>"
            "-DOUTPUT=${MERIDAL_STANDIN_EXE}"
            "-DSIZE=${MERIDAL_STANDIN_SIZE}"
            -P "${_meridal_pad_script}"
    DEPENDS meridal_standin "${_meridal_pad_script}"
    COMMENT "Padding the stand-in executable to ${MERIDAL_STANDIN_SIZE} bytes"
    VERBATIM)
  add_custom_target(meridal_standin_padded ALL DEPENDS "${MERIDAL_STANDIN_EXE}")
endif()
