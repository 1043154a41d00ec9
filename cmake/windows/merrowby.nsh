; The installer's own steps, included by the script that CPack writes: the
; Start menu entries, the "Check with Merrowby" entry of the right-click menu
; of .csv files, and their removal. Nothing here touches PATH.

; Under SystemFileAssociations the entry is added beside whatever program opens
; .csv files, which stays the user's choice. SHCTX is HKLM for an installation
; for all users and HKCU for one user, as the rest of the installer has it.
!define MERROWBY_CSV_SHELL_KEY "Software\Classes\SystemFileAssociations\.csv\shell"
!define MERROWBY_VERB_KEY "${MERROWBY_CSV_SHELL_KEY}\MerrowbyCheck"

; In the Start menu folder the user chose.
!macro MerrowbyStartMenu
  ; A console with the programs on PATH for that console only. It starts in the
  ; user's own folder, as Windows' own command prompt does; the shortcut's
  ; "Start in" (Properties) can name another. $OUTDIR is the shortcut's working
  ; folder, set here without creating anything.
  Push $OUTDIR
  StrCpy $OUTDIR "%USERPROFILE%"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Merrowby command prompt.lnk" "$SYSDIR\cmd.exe" \
    '/k "set "PATH=$INSTDIR;%PATH%""'
  Pop $OUTDIR
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Read me.lnk" "$INSTDIR\README.txt"
  IfFileExists "$INSTDIR\merrowby.html" 0 +2
    CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Merrowby in the browser.lnk" "$INSTDIR\merrowby.html"
!macroend

; The uninstaller inserts this once for each place the Start menu folder may
; be recorded; $MUI_TEMP names the folder.
!macro MerrowbyStartMenuRemove
  Delete "$SMPROGRAMS\$MUI_TEMP\Merrowby command prompt.lnk"
  Delete "$SMPROGRAMS\$MUI_TEMP\Read me.lnk"
  Delete "$SMPROGRAMS\$MUI_TEMP\Merrowby in the browser.lnk"
!macroend

; "Check with Merrowby": cmd runs the shipped script on the piece; the outer
; quotes keep a path with blanks whole.
!macro MerrowbyCheckVerb
  WriteRegStr SHCTX "${MERROWBY_VERB_KEY}" "" "Check with Merrowby"
  WriteRegStr SHCTX "${MERROWBY_VERB_KEY}\command" "" '"$SYSDIR\cmd.exe" /c ""$INSTDIR\check-piece.cmd" "%1""'
!macroend

; Removes KEY when it holds nothing: no subkey, no value, no default value.
!macro MerrowbyRemoveEmptyKey KEY
  Push $R0
  EnumRegKey $R0 SHCTX "${KEY}" 0
  StrCmp $R0 "" 0 +6
  EnumRegValue $R0 SHCTX "${KEY}" 0
  StrCmp $R0 "" 0 +4
  ReadRegStr $R0 SHCTX "${KEY}" ""
  StrCmp $R0 "" 0 +2
  DeleteRegKey /ifempty SHCTX "${KEY}"
  Pop $R0
!macroend

; The entry, and the keys above it that are left empty (it made them).
!macro MerrowbyCheckVerbRemove
  DeleteRegKey SHCTX "${MERROWBY_VERB_KEY}"
  !insertmacro MerrowbyRemoveEmptyKey "${MERROWBY_CSV_SHELL_KEY}"
  !insertmacro MerrowbyRemoveEmptyKey "Software\Classes\SystemFileAssociations\.csv"
  !insertmacro MerrowbyRemoveEmptyKey "Software\Classes\SystemFileAssociations"
!macroend

; CPack's uninstaller removes Software\<vendor>\<key> but not the vendor's key
; above it; once everything else is gone, that goes too when empty.
Function un.onUninstSuccess
  DeleteRegKey /ifempty SHCTX "Software\Merrowby"
FunctionEnd
