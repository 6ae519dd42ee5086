; The installer kit for kalvex.exe, the velko product's uninstaller: it places
; the product's files with the uninstaller and a manifest that lists exactly
; them, and registers the uninstall entry that kalvex.exe and Windows' Apps &
; Features read. Include it, then call in one install section, in this order:
;
;   !insertmacro KalvexInstallFiles STAGING KALVEX_EXE
;       Places every file and folder of the build machine's folder STAGING
;       into $INSTDIR, then KALVEX_EXE as $INSTDIR\kalvex.exe, then the
;       manifest $INSTDIR\kalvex.dat. The manifest is generated from STAGING
;       by make_manifest.py (beside this file) in the same makensis run that
;       packs STAGING, so it names exactly the top-level entries placed, plus
;       kalvex.dat and kalvex.exe. A name the uninstaller would skip stops the
;       compile with the script's message. Once per installer.
;
;   !insertmacro KalvexRegister NAME PROGRAM VERSION PUBLISHER SHORTCUT
;       Creates the shortcut SHORTCUT (a full path whose folder exists, such
;       as "$DESKTOP\velko.lnk"; "" for none) to $INSTDIR\PROGRAM and writes
;       the uninstall key KALVEX_UNINSTALL_KEY under HKLM in the 32-bit view
;       kalvex.exe reads: "UninstallString" (quoted), "DisplayShortcut" (only
;       when the shortcut was made), "DisplayName" NAME, "DisplayIcon"
;       $INSTDIR\PROGRAM, "DisplayVersion" VERSION, "Publisher" PUBLISHER,
;       "EstimatedSize" (KiB of everything in $INSTDIR, rounded up: call it
;       after all files are placed), "NoModify" and "NoRepair" 1.
;
; The manifest's names are UTF-8, so the installer is made Unicode. makensis
; runs the generator with "python3"; define KALVEX_PYTHON (for example
; /DKALVEX_PYTHON=py on Windows) to name another interpreter. Uses $0-$2 and
; restores them.

!ifndef KALVEX_NSH
!define KALVEX_NSH

!include LogicLib.nsh
!include FileFunc.nsh

!if ${NSIS_CHAR_SIZE} < 2
  Unicode true
!endif

; Fixed by kalvex.exe: it reads this key and deletes it when it is done.
!define KALVEX_UNINSTALL_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\velko"
!ifndef KALVEX_PYTHON
  !define KALVEX_PYTHON "python3"
!endif
; Taken here: inside a macro __FILEDIR__ names the caller's folder.
!define KALVEX_KIT_DIR "${__FILEDIR__}"

!macro KalvexInstallFiles STAGING KALVEX_EXE
  !ifdef KALVEX_FILES_PLACED
    !error "KalvexInstallFiles: once per installer; a second call would replace the first manifest"
  !endif
  !define KALVEX_FILES_PLACED
  !tempfile KALVEX_MANIFEST
  !system '"${KALVEX_PYTHON}" "${KALVEX_KIT_DIR}/make_manifest.py" "${STAGING}" "${KALVEX_MANIFEST}"' = 0
  SetOutPath "$INSTDIR"
  ; An empty staging folder is a product of the uninstaller alone.
  File /nonfatal /r "${STAGING}/*"
  File "/oname=kalvex.exe" "${KALVEX_EXE}"
  File "/oname=kalvex.dat" "${KALVEX_MANIFEST}"
  !delfile "${KALVEX_MANIFEST}"
  !undef KALVEX_MANIFEST
!macroend

!macro KalvexRegister NAME PROGRAM VERSION PUBLISHER SHORTCUT
  !ifndef KALVEX_FILES_PLACED
    !error "KalvexRegister: call KalvexInstallFiles first"
  !endif
  Push $0
  Push $1
  Push $2
  ; kalvex.exe is a 32-bit program and looks in the 32-bit view.
  SetRegView 32
  WriteRegStr HKLM "${KALVEX_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\kalvex.exe"'
  !if "${SHORTCUT}" != ""
    SetOutPath "$INSTDIR"
    ClearErrors
    CreateShortCut "${SHORTCUT}" "$INSTDIR\${PROGRAM}"
    ${IfNot} ${Errors}
      WriteRegStr HKLM "${KALVEX_UNINSTALL_KEY}" "DisplayShortcut" "${SHORTCUT}"
    ${Else}
      DetailPrint "kalvex: the shortcut ${SHORTCUT} was not made"
    ${EndIf}
  !endif
  WriteRegStr HKLM "${KALVEX_UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${KALVEX_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegStr HKLM "${KALVEX_UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${KALVEX_UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  ${GetSize} "$INSTDIR" "/S=0B" $0 $1 $2
  System::Int64Op $0 + 1023
  Pop $0
  System::Int64Op $0 / 1024
  Pop $0
  WriteRegDWORD HKLM "${KALVEX_UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${KALVEX_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KALVEX_UNINSTALL_KEY}" "NoRepair" 1
  SetRegView lastused
  Pop $2
  Pop $1
  Pop $0
!macroend

!endif
