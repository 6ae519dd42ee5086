; A small stand-in for the velko product's installer, built from the
; installer kit as a product team builds theirs: the product's files from a
; staging folder, kalvex.exe, the generated manifest, the uninstall entry and
; a desktop shortcut. Built with makensis for the tests and for the sample
; run; /D= picks the install directory.
;   -DOUTFILE=...     installer to write
;   -DSTAGING=...     the product's files (tests/app/MakeSampleStaging.cmake)
;   -DUNINSTALLER=... kalvex.exe to ship
;   -DPLAIN           write "UninstallString" without quotes, as older
;                     installers of the product did; a deliberate deviation
;                     from the kit, so the uninstaller keeps reading that form
Name "velko"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\velko"
RequestExecutionLevel admin
SilentInstall silent

!include "..\..\..\packaging\kalvex.nsh"

Section
  !insertmacro KalvexInstallFiles "${STAGING}" "${UNINSTALLER}"
  !insertmacro KalvexRegister "Velko加速器" "velko.exe" "3.2.1" "Velko" "$DESKTOP\velko.lnk"
!ifdef PLAIN
  WriteRegStr HKLM "${KALVEX_UNINSTALL_KEY}" "UninstallString" "$INSTDIR\kalvex.exe"
!endif
  ; The user's own file, made after the installation: the manifest does not
  ; list it, so it must stay.
  FileOpen $0 "$INSTDIR\user_notes.txt" w
  FileWrite $0 "keep me"
  FileClose $0
SectionEnd
