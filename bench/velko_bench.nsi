; A large velko installation for the uninstall benchmark: DIRS directories of
; FILES small files each, created by the installer itself, and the matching
; NSIS uninstaller (RMDir /r of the install directory) written beside the
; installer. /D= picks the install directory; the uninstaller runs in place
; with "/S _?=<install directory>".
;   -DOUTFILE=...  installer to write
;   -DDIRS=...     number of directories ("module0", "module1", ...)
;   -DFILES=...    files per directory ("part0.dat", "part1.dat", ...)
Unicode true
Name "velko bench"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\velko-bench"
RequestExecutionLevel admin
SilentInstall silent
SilentUnInstall silent

Section
  SetOutPath "$INSTDIR"
  StrCpy $1 0
directories:
  CreateDirectory "$INSTDIR\module$1"
  StrCpy $2 0
files:
  FileOpen $0 "$INSTDIR\module$1\part$2.dat" w
  FileWrite $0 "velko"
  FileClose $0
  IntOp $2 $2 + 1
  IntCmp $2 ${FILES} 0 files
  IntOp $1 $1 + 1
  IntCmp $1 ${DIRS} 0 directories
  WriteUninstaller "$EXEDIR\velko_bench_uninstall.exe"
SectionEnd

Section "Uninstall"
  RMDir /r "$INSTDIR"
SectionEnd
