set(KIT_CORE_SOURCES
  kit/KitConstants.cpp
  kit/KitTexts.cpp
  kit/window/KitButtonLook.cpp
  kit/upgrade/InstallationRecord.cpp
  kit/upgrade/VersionCheck.cpp
  kit/upgrade/Journal.cpp
  kit/upgrade/KitFolder.cpp
  kit/upgrade/KeptVersion.cpp
  kit/upgrade/Transaction.cpp
  kit/upgrade/CheckedInstallation.cpp
  kit/upgrade/PathFailures.cpp
  kit/upgrade/UpgradeRun.cpp
  kit/upgrade/UndoRun.cpp
  kit/unattended/CommandLine.cpp
  kit/unattended/RunOutcome.cpp
  kit/unattended/RunLog.cpp
  kit/unattended/LoggedWindow.cpp
  kit/unattended/SilentRun.cpp
  kit/upgrade/PayloadCheck.cpp
)
# The window; the entry point kit/Main.cpp belongs to the executable alone,
# so test programs can link the window's code.
set(KIT_WIN32_SOURCES
  kit/window/Unit1.cpp
  kit/unattended/LogFile.cpp
)
