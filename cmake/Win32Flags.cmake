# Compiler and linker settings of every Windows target, the platform-free
# core library included: set before the first target, since a target takes
# the directory's options when it is created.
# UNICODE: a Win32 call written without its A or W ends in W, so no text
# goes through the ANSI code page.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 UNICODE _UNICODE)
if(MSVC)
  # Same bytes from the same sources: no time stamps in objects or image.
  # /GS (the stack protector) is on by default; /Gy, /Gw and /OPT:REF drop
  # what nothing uses; /GR- as -fno-rtti below.
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:/Brepro> $<$<COMPILE_LANGUAGE:C,CXX>:/GS>
                      $<$<COMPILE_LANGUAGE:C,CXX>:/Gy> $<$<COMPILE_LANGUAGE:C,CXX>:/Gw>
                      $<$<COMPILE_LANGUAGE:CXX>:/GR->)
  add_link_options(/Brepro /OPT:REF /OPT:ICF /DYNAMICBASE /NXCOMPAT)
else()
  # Stack canaries in every function with a local array or an address-taken
  # local; libssp is linked statically like the rest of the runtime. Each
  # function and datum in its own section, so the linker drops what nothing
  # uses. No run-time type information: nothing casts or asks for types,
  # and exceptions get the type data they need all the same. Source and
  # build folders are mapped to fixed names, so where the tree was built
  # never reaches the binary.
  add_compile_options(
    $<$<COMPILE_LANGUAGE:C,CXX>:-fstack-protector-strong>
    $<$<COMPILE_LANGUAGE:C,CXX>:-ffunction-sections>
    $<$<COMPILE_LANGUAGE:C,CXX>:-fdata-sections>
    $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>
    $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=src>
    $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=build>)
  # One self-contained file: no DLL besides the system's own. No link time
  # in the PE header, so two builds of the same sources are byte-identical;
  # ASLR, DEP and the relocations ASLR needs stay on.
  add_link_options(-static -static-libgcc -static-libstdc++ -s -fstack-protector-strong
                   -Wl,--gc-sections -Wl,--no-insert-timestamp
                   -Wl,--dynamicbase -Wl,--nxcompat)
  # Link-time optimisation: the whole program is optimised at once, so a
  # function with one caller in another source is inlined there and its
  # out-of-line copy, prologue and unwind entry go (an eighth of the kit's
  # code and data). CMake archives the libraries with gcc-ar, which indexes
  # the intermediate code. All in one partition: GCC 12 for MinGW-w64 stops
  # with an internal error in its dead-store pass when the program is split
  # into several. The link step's temporary files have random names; none
  # reaches the stripped image (tests/release/reproducible.sh checks).
  set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ON)
  add_link_options(-flto-partition=one)
endif()
