; An installer that asks, before it installs its own files, whether the user
; also wants an offered extra program. MirelDialog.dll shows the question; the
; answer decides whether the extra is installed, and it is also the
; installer's exit code and the content of offer-answer.txt in the
; installation folder.
;
; Build (paths as makensis sees them; the defaults suit a copy of this folder
; holding MirelDialog.dll and offer.txt):
;   makensis -DMIREL_DLL=MirelDialog.dll -DOFFER=offer.txt -DOUTFILE=offer-setup.exe offer.nsi
;   add -DAMD64 (with the 64-bit DLL) for a 64-bit installer.
; Run: offer-setup.exe, or offer-setup.exe /S /D=C:\Some\Folder for a silent
; run that still asks the question.

Unicode true
!ifdef AMD64
  Target amd64-unicode
!endif

!ifndef MIREL_DLL
  !define MIREL_DLL "MirelDialog.dll"
!endif
!ifndef OFFER
  !define OFFER "offer.txt"
!endif
!ifndef OUTFILE
  !define OUTFILE "offer-setup.exe"
!endif


Name "Example Product"
OutFile "${OUTFILE}"
; The installer runs in the user's language where it has it, else English;
; the offer's buttons follow it.
LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Japanese.nlf"
InstallDir "$LOCALAPPDATA\Example Product"
RequestExecutionLevel user
ShowInstDetails show

Page directory
Page instfiles

Var Answer

; Shows the offer and leaves the user's answer in $Answer.
Function AskForTheExtra
  InitPluginsDir
  File "/oname=$PLUGINSDIR\MirelDialog.dll" "${MIREL_DLL}"
  File "/oname=$PLUGINSDIR\offer.txt" "${OFFER}"
  ; The consent is asked in the installer's language: $LANGUAGE is its
  ; Windows language id (1031 German). Appended as ANSI text, which suits an
  ; ANSI or UTF-8 offer; a UTF-16 one would take FileWriteUTF16LE.
  FileOpen $0 "$PLUGINSDIR\offer.txt" a
  FileSeek $0 0 END
  FileWrite $0 "$\r$\n<LANGUAGE>$LANGUAGE</LANGUAGE>$\r$\n"
  FileClose $0
  ; int WINAPI RunMirelDialogW(const wchar_t*): the path as a UTF-16 string
  ; ('w'), so that a temporary folder named in any language opens; the
  ; offer file itself may be UTF-8, UTF-16 or ANSI. '?u' unloads the DLL
  ; afterwards.
  System::Call '$PLUGINSDIR\MirelDialog.dll::RunMirelDialogW(w "$PLUGINSDIR\offer.txt") i .s ?u'
  Pop $Answer
  ; "error": the DLL or its function could not be loaded; -1: no dialog.
  StrCmp $Answer "error" 0 +2
    StrCpy $Answer -1
FunctionEnd

Section "Example Product"
  SetOutPath "$INSTDIR"
  FileOpen $0 "$INSTDIR\example-product.txt" w
  FileWrite $0 "Example Product$\r$\n"
  FileClose $0
SectionEnd

Section "Offered extra"
  Call AskForTheExtra
  DetailPrint "Offer answered with $Answer"
  FileOpen $0 "$INSTDIR\offer-answer.txt" w
  FileWrite $0 "$Answer"
  FileClose $0
  SetErrorLevel $Answer

  IntCmp $Answer 1 0 declined declined
    CreateDirectory "$INSTDIR\Extra Tool"
    FileOpen $0 "$INSTDIR\Extra Tool\extra-tool.txt" w
    FileWrite $0 "Extra Tool$\r$\n"
    FileClose $0
    DetailPrint "Extra Tool installed"
    Goto done
  declined:
    DetailPrint "Extra Tool not installed"
  done:
SectionEnd
