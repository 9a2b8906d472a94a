# Win32 programs of the button control, run under Wine (exit code 0 = pass).
list(APPEND WINE_TEST_PROGRAMS LbButtonPixels)
list(APPEND WINE_TEST_PROGRAMS LbButtonFade)
list(APPEND WINE_TEST_PROGRAMS LbButtonForm)
# The kit's window rescaled for a monitor of another DPI.
list(APPEND WINE_TEST_PROGRAMS KitWindowDpi)
