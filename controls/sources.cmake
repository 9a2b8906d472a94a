set(CONTROLS_CORE_SOURCES)
set(CONTROLS_WIN32_SOURCES
  controls/LbSpeedButton.cpp
)
