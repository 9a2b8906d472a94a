# End-to-end scenarios of the real kit, each run by kitdriver.exe in its own
# copy of the template Wine prefix (see add_wine_test in tests/CMakeLists.txt).
list(APPEND KIT_SCENARIOS
  window               # the window before and after the check, Esc in the log
  versions             # recorded versions against the kit's; the three ways out
  not_installed        # records that name no installation
  bad_version          # versions that are no numbers reach the error report
  upgrade_complete     # a complete upgrade: files, log, record, dialog
  only_if_missing      # report templates kept, the rest replaced or added
  application_running  # the old program started from its folder
  held_long            # the executable held open for 20 s; the folder listed for 20 s
  held_briefly         # the executable held open for a moment
  leftovers            # names like the kit's own, a marker and a backup planted: never obeyed
  no_data_folder       # an installation without its Data folder
  read_only_file       # a read-only Anx3.rtf
  button_look          # hot-tracking face of the buttons (needs the painted control)
  unattended           # /S and /LOG: exit codes, files, record and log, /S /?, no window
  logged_window        # /LOG with the window; an unopenable log; /?
  program_file_failures  # a missing folder, a read-only program file: told as what they are
  links                # links planted as Data, a target and leftovers
  second_kit           # one kit at a time
  undo                 # /UNDO /S after an upgrade: the installation as before; refusals; files changed since
  undo_asked           # /UNDO asked: Return answers No and changes nothing; Yes puts the version back
  damaged_payload      # a copy with one byte of an item changed: exit 7, the report, nothing written
  unicode_folder       # a folder named with "ț" and "ă": record from a UTF-16 .reg, log, box, /LOG file, files
  long_path            # a target of 259 characters: its temporary names and a leftover beyond the classic limit
  keyboard             # Tab, Space and Enter: the upgrade and the end without the mouse
  screen_reader        # buttons and log as a screen reader reads them; the buttons' default action
)
# next_release runs only against a kit built for a later version (tests/release/next_version.sh).

# "," as regional decimal separator (needs the ro_RO.UTF-8 locale:
# localedef -i ro_RO -f UTF-8 ro_RO.UTF-8).
add_wine_test(e2e_decimal_comma ${KIT_WINE_DIR}/kitdriver.exe decimal_comma ${KIT_WINE_DIR}/MeridalUpgrade.exe)
set_property(TEST e2e_decimal_comma APPEND PROPERTY ENVIRONMENT "LC_ALL=ro_RO.UTF-8")

# At 150 %: LogPixels 144 in the scenario's prefix before its wineserver starts.
add_wine_test(e2e_dpi_144 ${KIT_WINE_DIR}/kitdriver.exe dpi_144 ${KIT_WINE_DIR}/MeridalUpgrade.exe)
set_property(TEST e2e_dpi_144 APPEND PROPERTY ENVIRONMENT "KIT_LOGPIXELS=144")

# An installation on a 2 MB drive M: (a tmpfs; reported as skipped where
# mounting isn't permitted).
add_test(NAME e2e_full_disk COMMAND ${CMAKE_CURRENT_LIST_DIR}/full_disk.sh ${WINE_TEMPLATE}
         ${KIT_WINE_DIR}/kitdriver.exe ${KIT_WINE_DIR}/MeridalUpgrade.exe)
set_tests_properties(e2e_full_disk PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK display TIMEOUT 300
                     SKIP_RETURN_CODE 77)
set_wine_environment(e2e_full_disk)

# Only a 64-bit prefix has a second registry view: a record there alone is
# not the installation the kit upgrades.
if(KIT_WINE_ARCH STREQUAL "win64")
  add_wine_test(e2e_record_64bit_view ${KIT_WINE_DIR}/kitdriver.exe record_64bit_view ${KIT_WINE_DIR}/MeridalUpgrade.exe)
endif()
