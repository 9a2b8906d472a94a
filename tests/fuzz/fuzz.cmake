# A libFuzzer target over the version check and the record read, built with
# clang (the native tests use the default compiler) under the address and
# undefined-behaviour sanitizers, and run as a test for a bounded time.
find_program(FUZZ_CXX NAMES clang++-14 clang++ REQUIRED)
set(FUZZ_FLAGS -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
set(FUZZ_SOURCES framework/Error.cpp framework/FormatSettings.cpp kit/KitConstants.cpp kit/KitTexts.cpp kit/upgrade/InstallationRecord.cpp
                 kit/upgrade/VersionCheck.cpp)
list(TRANSFORM FUZZ_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)
list(APPEND FUZZ_SOURCES ${CMAKE_CURRENT_LIST_DIR}/FuzzVersionCheck.cpp)
set(FUZZ_DEPENDS)
foreach(source ${FUZZ_SOURCES})
  list(APPEND FUZZ_DEPENDS CXX ${source})
endforeach()

set(FUZZ_EXE ${CMAKE_CURRENT_BINARY_DIR}/fuzz_version_check)
add_custom_command(
  OUTPUT ${FUZZ_EXE}
  COMMAND ${FUZZ_CXX} ${FUZZ_FLAGS} -I${PROJECT_SOURCE_DIR} -I${PROJECT_SOURCE_DIR}/tests/native -I${KIT_GENERATED_DIR} ${FUZZ_SOURCES} -o ${FUZZ_EXE}
  DEPENDS ${FUZZ_SOURCES} ${KIT_GENERATED_DIR}/BuildVersion.h
  IMPLICIT_DEPENDS ${FUZZ_DEPENDS}
  COMMENT "Building the fuzz target with ${FUZZ_CXX}"
  VERBATIM)
add_custom_target(fuzz_version_check ALL DEPENDS ${FUZZ_EXE})

# New inputs go to the first folder, in the build; the seeds are read only.
set(FUZZ_CORPUS ${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus)
file(MAKE_DIRECTORY ${FUZZ_CORPUS})
add_test(NAME fuzz_version_check
         COMMAND ${FUZZ_EXE} -max_total_time=20 -timeout=5 -print_final_stats=1
                 -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/fuzz- ${FUZZ_CORPUS}
                 ${CMAKE_CURRENT_LIST_DIR}/seeds)
set_tests_properties(fuzz_version_check PROPERTIES TIMEOUT 120)
