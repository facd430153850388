unit Data;

interface

uses
  SysUtils, Classes, QActnList;

type
  TDataModule1 = class(TDataModule)
    Actions: TActionList;
    RefreshAction: TAction;
  private
    { Private declarations }
  public
    function Greeting: string;
  end;

var
  DataModule1: TDataModule1;

implementation

{$R *.xfm}

function TDataModule1.Greeting: string;
begin
  Result := 'Hello from the data module';
end;

end.
