# Win32 programs of the button control, run under Wine (exit code 0 = pass).
# bench_paint.cpp is a benchmark, built beside them but not run as a test.
list(APPEND WINE_TEST_PROGRAMS LbButtonPixels)
list(APPEND WINE_TEST_PROGRAMS LbButtonFade)
