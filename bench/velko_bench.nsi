; A large velko installation for the uninstall benchmark, built from the
; installer kit: the staging folder's directories of small files
; (bench/MakeBenchStaging.cmake), kalvex.exe, the generated manifest and the
; uninstall entry, plus the matching NSIS uninstaller (RMDir /r of the install
; directory) written beside the installer for comparison. /D= picks the
; install directory; the NSIS uninstaller runs in place with
; "/S _?=<install directory>".
;   -DOUTFILE=...     installer to write
;   -DSTAGING=...     the installation's files
;   -DUNINSTALLER=... kalvex.exe to ship
Name "velko bench"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\velko-bench"
RequestExecutionLevel admin
SilentInstall silent
SilentUnInstall silent

!include "..\packaging\kalvex.nsh"

Section
  !insertmacro KalvexInstallFiles "${STAGING}" "${UNINSTALLER}"
  !insertmacro KalvexRegister "velko bench" "kalvex.exe" "1.0" "velko" ""
  WriteUninstaller "$EXEDIR\velko_bench_uninstall.exe"
SectionEnd

Section "Uninstall"
  RMDir /r "$INSTDIR"
SectionEnd
