; A wizard that asks when its Install button is clicked (NextButtonClick of
; the Ready page, a usual place for an offer). The Ready page is the only one
; shown, so the first visible "Install" button asks. Compiled by
; inno-test.sh with /DMirelDll= and /DOffer= (an offer placed Top-Left, clear
; of the Install button).

[Setup]
AppName=Example Product
AppVersion=1.0
DefaultDirName={localappdata}\Example Product
PrivilegesRequired=lowest
DisableWelcomePage=yes
DisableDirPage=yes
DisableProgramGroupPage=yes
DisableReadyPage=no
DisableFinishedPage=yes
Uninstallable=no
OutputBaseFilename=ready-offer-setup

[Files]
Source: "{#MirelDll}"; Flags: dontcopy
Source: "{#Offer}"; DestName: "offer.txt"; Flags: dontcopy
Source: "..\..\examples\inno\example-product.txt"; DestDir: "{app}"
Source: "..\..\examples\inno\extra-tool.txt"; DestDir: "{app}\Extra Tool"; Check: ExtraAccepted

[Code]
var
  OfferAnswer: Integer;

function RunMirelDialog(Parameters: AnsiString): Integer;
  external 'RunMirelDialog@files:MirelDialog.dll stdcall delayload';

function NextButtonClick(CurPageID: Integer): Boolean;
begin
  if CurPageID = wpReady then
  begin
    ExtractTemporaryFile('offer.txt');
    OfferAnswer := RunMirelDialog(ExpandConstant('{tmp}\offer.txt'));
    Log(Format('Offer answered with %d', [OfferAnswer]));
  end;
  Result := True;
end;

function ExtraAccepted: Boolean;
begin
  Result := OfferAnswer = 1;
end;
