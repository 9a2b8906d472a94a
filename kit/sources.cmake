set(KIT_CORE_SOURCES
  kit/KitConstants.cpp
  kit/KitTexts.cpp
  kit/KitButtonLook.cpp
  kit/InstallationRecord.cpp
  kit/VersionCheck.cpp
  kit/Journal.cpp
  kit/KitFolder.cpp
  kit/KeptVersion.cpp
  kit/Transaction.cpp
  kit/CheckedInstallation.cpp
  kit/PathFailures.cpp
  kit/UpgradeRun.cpp
  kit/UndoRun.cpp
  kit/CommandLine.cpp
  kit/RunOutcome.cpp
  kit/RunLog.cpp
  kit/LoggedWindow.cpp
  kit/SilentRun.cpp
  kit/PayloadCheck.cpp
)
# The window; the entry point kit/Main.cpp belongs to the executable alone,
# so test programs can link the window's code.
set(KIT_WIN32_SOURCES
  kit/Unit1.cpp
  kit/LogFile.cpp
)
