# The kit executable, its payload and the Win32 programs of the tests.

set(MERIDAL_EXE "" CACHE FILEPATH
    "The vendor's Meridal_2013.exe to carry; when empty the kit carries a stand-in")
set(MERIDAL_TEMPLATES_DIR "" CACHE PATH
    "A folder whose .dbf and .rtf templates replace ours of the same name")

#--- Payload: the executable item, then the templates found on the RC include path.
set(PAYLOAD_BUILD_DIR ${CMAKE_BINARY_DIR}/payload)
# The stand-in is built in any case: the end-to-end tests start it as the
# running application.
include(payload/standin/standin.cmake)
if(MERIDAL_EXE)
  configure_file(${MERIDAL_EXE} ${PAYLOAD_BUILD_DIR}/Meridal_2013.exe COPYONLY)
  add_custom_target(meridal_payload_exe)
else()
  add_custom_target(meridal_payload_exe DEPENDS meridal_standin_padded)
endif()

set(PAYLOAD_SEARCH_PATH ${PAYLOAD_BUILD_DIR} ${CMAKE_SOURCE_DIR}/payload/files)
if(MERIDAL_TEMPLATES_DIR)
  list(PREPEND PAYLOAD_SEARCH_PATH ${MERIDAL_TEMPLATES_DIR})
endif()
# The templates' file names, read from the catalogue's PAYLOAD_ITEM rows (the
# PAYLOAD_PROGRAM row is the executable above).
set(PAYLOAD_FILES ${PAYLOAD_BUILD_DIR}/Meridal_2013.exe)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/payload/Catalogue.def)
file(STRINGS ${CMAKE_SOURCE_DIR}/payload/Catalogue.def PAYLOAD_ROWS REGEX "^PAYLOAD_ITEM\\(")
foreach(row ${PAYLOAD_ROWS})
  string(REGEX REPLACE ".*\"([^\"]+)\"\\)[ \t]*$" "\\1" name "${row}")
  if(MERIDAL_TEMPLATES_DIR AND EXISTS ${MERIDAL_TEMPLATES_DIR}/${name})
    list(APPEND PAYLOAD_FILES ${MERIDAL_TEMPLATES_DIR}/${name})
  else()
    list(APPEND PAYLOAD_FILES ${CMAKE_SOURCE_DIR}/payload/files/${name})
  endif()
endforeach()
set_source_files_properties(payload/Payload.rc PROPERTIES OBJECT_DEPENDS "${PAYLOAD_FILES}")

# The CRC-32 of each item, in catalogue order, as a resource of its own,
# which the kit checks its items against before it writes any; a source of
# the kit (below).
set(PAYLOAD_CHECKSUMS ${PAYLOAD_BUILD_DIR}/PayloadChecksums.rc)
add_custom_command(
  OUTPUT ${PAYLOAD_CHECKSUMS}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${PAYLOAD_CHECKSUMS} "-DFILES=${PAYLOAD_FILES}"
          -P ${CMAKE_SOURCE_DIR}/cmake/PayloadChecksums.cmake
  DEPENDS ${PAYLOAD_FILES} ${CMAKE_SOURCE_DIR}/cmake/PayloadChecksums.cmake
  COMMENT "Computing the CRC-32 of the ten payload items"
  VERBATIM)

# The manifest carries the kit's version; the build writes it from its template.
configure_file(kit/MeridalUpgrade.manifest.in ${KIT_GENERATED_DIR}/MeridalUpgrade.manifest @ONLY)
set_source_files_properties(kit/Kit.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/kit/MainIcon.ico;${KIT_GENERATED_DIR}/MeridalUpgrade.manifest;${KIT_GENERATED_DIR}/BuildVersion.h")

#--- The Win32 side of the framework, the controls and the window.
add_library(kitwin32 STATIC ${FRAMEWORK_WIN32_SOURCES} ${CONTROLS_WIN32_SOURCES} ${KIT_WIN32_SOURCES})
target_link_libraries(kitwin32 PUBLIC kitcore user32 gdi32 advapi32 kernel32)

set(KIT_RC_INCLUDES ${PAYLOAD_SEARCH_PATH} ${KIT_GENERATED_DIR} ${CMAKE_SOURCE_DIR}/kit ${CMAKE_SOURCE_DIR}/controls
                    ${CMAKE_SOURCE_DIR})

add_executable(MeridalUpgrade WIN32 kit/Main.cpp kit/guards/ProcessHardening.cpp kit/guards/UnexpectedEnd.cpp kit/Kit.rc payload/Payload.rc
                              ${PAYLOAD_CHECKSUMS} controls/LbButtons.rc)
target_link_libraries(MeridalUpgrade PRIVATE kitwin32 shell32)
if(NOT MSVC)
  # Replace libstdc++'s console terminate handler, its raising of its own
  # failures and its compiled std::string (objects of their own, so the
  # linker takes them before searching the runtime library).
  target_sources(MeridalUpgrade PRIVATE kit/guards/TerminateHandler.cpp kit/guards/LibraryFailures.cpp
                                        framework/LibraryString.cpp)
  # The entry point is wWinMain, the UTF-16 one; the start files' two ANSI
  # calls are served by their UTF-16 forms.
  target_sources(MeridalUpgrade PRIVATE kit/guards/StartFileCalls.cpp)
  target_link_options(MeridalUpgrade PRIVATE -municode)
endif()
target_include_directories(MeridalUpgrade PRIVATE ${KIT_RC_INCLUDES})
add_dependencies(MeridalUpgrade meridal_payload_exe)
if(MSVC)
  # The manifest comes from kit/Kit.rc; the linker must not add its own.
  target_link_options(MeridalUpgrade PRIVATE /MANIFEST:NO)
endif()

#--- Win32 programs run by the tests under Wine, and the benchmarks.
set(WINE_TEST_PROGRAMS)
include(tests/wine/wine_tests.cmake)
foreach(name ${WINE_TEST_PROGRAMS})
  add_executable(${name} tests/wine/${name}.cpp controls/LbButtons.rc)
  target_link_libraries(${name} PRIVATE kitwin32)
  target_include_directories(${name} PRIVATE ${KIT_RC_INCLUDES} ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tools)
endforeach()

add_executable(kitdriver tests/e2e/KitDriver.cpp tests/e2e/WindowScenarios.cpp tests/e2e/UpgradeScenarios.cpp
                         tests/e2e/InstallationScenarios.cpp tests/e2e/UnattendedScenarios.cpp
                         tests/e2e/AccessScenarios.cpp)
target_link_libraries(kitdriver PRIVATE user32 gdi32 advapi32 oleacc ole32 oleaut32)
target_include_directories(kitdriver PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tools ${KIT_GENERATED_DIR})
add_executable(holdfile tests/e2e/HoldFile.cpp)
target_include_directories(holdfile PRIVATE ${CMAKE_SOURCE_DIR})

add_executable(bench_paint tools/bench/bench_paint.cpp controls/LbButtons.rc)
target_link_libraries(bench_paint PRIVATE kitwin32)
target_include_directories(bench_paint PRIVATE ${KIT_RC_INCLUDES})
add_executable(bench_steps tools/bench/bench_steps.cpp payload/Payload.rc ${PAYLOAD_CHECKSUMS})
target_link_libraries(bench_steps PRIVATE kitwin32)
target_include_directories(bench_steps PRIVATE ${KIT_RC_INCLUDES})
add_dependencies(bench_steps meridal_payload_exe)
add_executable(bench_upgrade tools/bench/bench_upgrade.cpp)
target_link_libraries(bench_upgrade PRIVATE kitcore user32 gdi32 advapi32)
target_include_directories(bench_upgrade PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tools)
