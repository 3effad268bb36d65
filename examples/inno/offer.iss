; An installer that asks, before it installs its own files, whether the user
; also wants an offered extra program. MirelDialog.dll shows the question from
; the [Code] section; the extra's files are installed only after a Yes, and
; the answer is kept in offer-answer.txt in the installation folder and in
; Setup's log ("Offer answered with N").
;
; Compile with Inno Setup 6, naming the DLL (the 32-bit one for a 32-bit
; installer) unless it lies beside this script:
;   ISCC.exe /DMirelDll=path\MirelDialog.dll /Ooutput-folder offer.iss
; The offer is examples/offer.txt; example-product.txt and extra-tool.txt are
; beside this script. PrepareToInstall runs in silent installs too, so
; /SILENT and /VERYSILENT still ask the question.

#ifndef MirelDll
  #define MirelDll "MirelDialog.dll"
#endif

[Setup]
AppName=Example Product
AppVersion=1.0
DefaultDirName={localappdata}\Example Product
DisableProgramGroupPage=yes
PrivilegesRequired=lowest
OutputBaseFilename=offer-setup
; Setup picks the user's language where it has it, and asks only where none matches.
ShowLanguageDialog=auto

[Languages]
Name: "english"; MessagesFile: "compiler:Default.isl"
Name: "german"; MessagesFile: "compiler:Languages\German.isl"
Name: "japanese"; MessagesFile: "compiler:Languages\Japanese.isl"

[Files]
Source: "{#MirelDll}"; Flags: dontcopy
Source: "..\offer.txt"; Flags: dontcopy
Source: "example-product.txt"; DestDir: "{app}"
Source: "extra-tool.txt"; DestDir: "{app}\Extra Tool"; Check: ExtraAccepted

[Code]
const
  OfferYes = 1;      { the other answers: 2 No, 8 closed, 3 bad offer file, -1 no dialog }
  OfferFailed = -1;

var
  OfferAnswer: Integer;

{ int WINAPI RunMirelDialogW(const wchar_t*): stdcall, one UTF-16 string (a
  String of Inno Setup 6), so that a temporary folder named in any language
  opens; the offer file itself may be UTF-8, UTF-16 or ANSI. "files:" extracts
  the DLL to Setup's temporary folder at the first call; "delayload" lets
  Setup start even where the DLL cannot be loaded. }
function RunMirelDialogW(Parameters: String): Integer;
  external 'RunMirelDialogW@files:MirelDialog.dll stdcall delayload';

procedure AskForTheExtra;
begin
  ExtractTemporaryFile('offer.txt');
  { The consent is asked in Setup's language: ActiveLanguage is the name of
    its [Languages] entry, which the DLL knows as well as a language tag.
    Appended as ANSI text, which suits an ANSI or UTF-8 offer. }
  SaveStringToFile(ExpandConstant('{tmp}\offer.txt'), #13#10'<LANGUAGE>' +
    ActiveLanguage + '</LANGUAGE>'#13#10, True);
  try
    OfferAnswer := RunMirelDialogW(ExpandConstant('{tmp}\offer.txt'));
  except
    OfferAnswer := OfferFailed;
  end;
  Log(Format('Offer answered with %d', [OfferAnswer]));
end;

function PrepareToInstall(var NeedsRestart: Boolean): String;
begin
  AskForTheExtra;
  Result := '';
end;

function ExtraAccepted: Boolean;
begin
  Result := OfferAnswer = OfferYes;
end;

procedure CurStepChanged(CurStep: TSetupStep);
begin
  if CurStep = ssPostInstall then
    SaveStringToFile(ExpandConstant('{app}\offer-answer.txt'), IntToStr(OfferAnswer), False);
end;
