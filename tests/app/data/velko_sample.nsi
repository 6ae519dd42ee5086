; A small stand-in for the velko product's installer: it lays out files the
; way the real product does, ships the uninstall manifest, writes the
; uninstall entry and a desktop shortcut. Built with makensis for the tests
; and for the sample run; /D= picks the install directory.
;   -DOUTFILE=...    installer to write
;   -DDATADIR=...    folder holding kalvex.dat (the manifest to ship)
;   -DQUOTED         write "UninstallString" in double quotes, with an argument
;   -DUNINSTALLER=.. kalvex.exe to ship beside the manifest (optional)
;   -DCLIENT=...     a real program to ship as the client and its VPN helper,
;                    so they can be started (optional; text files otherwise)
;   -DCACHEFILES=N   N more small files under bin\cache (optional), so that
;                    removing the product takes long enough to be watched
Unicode true
Name "velko"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\velko"
RequestExecutionLevel admin
SilentInstall silent

!macro SampleFile path text
  FileOpen $0 "${path}" w
  FileWrite $0 "${text}"
  FileClose $0
!macroend

Section
  SetOutPath "$INSTDIR"
  File "/oname=kalvex.dat" "${DATADIR}/kalvex.dat"
!ifdef UNINSTALLER
  File "/oname=kalvex.exe" "${UNINSTALLER}"
!else
  !insertmacro SampleFile "$INSTDIR\kalvex.exe" "uninstaller"
!endif
!ifdef CLIENT
  File "/oname=velko.exe" "${CLIENT}"
!else
  !insertmacro SampleFile "$INSTDIR\velko.exe" "client"
!endif
  !insertmacro SampleFile "$INSTDIR\core.dll" "core"
  !insertmacro SampleFile "$INSTDIR\说明.txt" "readme"
  CreateDirectory "$INSTDIR\bin\plugins\deep"
!ifdef CLIENT
  File "/oname=bin\openvpn.exe" "${CLIENT}"
!else
  !insertmacro SampleFile "$INSTDIR\bin\openvpn.exe" "vpn"
!endif
  !insertmacro SampleFile "$INSTDIR\bin\plugins\a.dll" "a"
  !insertmacro SampleFile "$INSTDIR\bin\plugins\deep\b.dll" "b"
!ifdef CACHEFILES
  CreateDirectory "$INSTDIR\bin\cache"
  StrCpy $1 0
cache:
  !insertmacro SampleFile "$INSTDIR\bin\cache\part$1.dat" "cache"
  IntOp $1 $1 + 1
  IntCmp $1 ${CACHEFILES} 0 cache
!endif
  CreateDirectory "$INSTDIR\数据\缓存"
  !insertmacro SampleFile "$INSTDIR\数据\缓存\节点.json" "nodes"
  !insertmacro SampleFile "$INSTDIR\数据\配置.ini" "config"
  ; The user's own file: the manifest does not list it, so it must stay.
  !insertmacro SampleFile "$INSTDIR\user_notes.txt" "keep me"

!ifdef QUOTED
  WriteRegStr HKLM "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\velko" "UninstallString" '"$INSTDIR\kalvex.exe" /uninstall'
!else
  WriteRegStr HKLM "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\velko" "UninstallString" "$INSTDIR\kalvex.exe"
!endif
  WriteRegStr HKLM "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\velko" "DisplayName" "velko"
  CreateShortCut "$DESKTOP\velko.lnk" "$INSTDIR\velko.exe"
  WriteRegStr HKLM "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\velko" "DisplayShortcut" "$DESKTOP\velko.lnk"
SectionEnd
