unit Unit1;

interface

const
  SHello = 'Hello' + #13#10 + 'world';
  SCount: string = 'Count: %d';
  Limit = 10;
  SOther = SHello;

implementation

const
  SPrivate = 'it''s'^M;

procedure TForm1.FormCreate(Sender: TObject);
begin
  Caption := 'Main window';
  Label1.Caption := 'Name' {TZX:IGNORE};
  ShowMessage('Saved ' + IntToStr(1));
end;

end.
