{ The translation component as converted code calls it. }
unit QzxComp;

interface

uses Classes;

type
  TzxLang = class(TComponent)
  private
    FOnChangeLanguage: TNotifyEvent;
  public
    function GetText(const ID: string): string;
    function GetTextOrDefault(const ID: string): string;
    property OnChangeLanguage: TNotifyEvent read FOnChangeLanguage write FOnChangeLanguage;
  end;

implementation

function TzxLang.GetText(const ID: string): string;
begin
  Result := ID;
end;

function TzxLang.GetTextOrDefault(const ID: string): string;
begin
  Result := ID;
end;

end.
