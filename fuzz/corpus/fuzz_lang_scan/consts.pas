unit Unit1;

interface

uses
  SysUtils, Classes, QForms, QzxComp;

const
  SHello = 'Hello' + #13#10 + 'world';
  SCount: string = 'Count: %d';
  Limit = 10;
  SOther = SHello;

type
  TForm1 = class(TForm)
    zxLang1: TzxLang;
    procedure FormCreate(Sender: TObject);
  private
    procedure Show(const S: string = SCount);
  end;

var
  Form1: TForm1;

implementation

const
  SPrivate = 'it''s'^M;

procedure TForm1.FormCreate(Sender: TObject);
var
  P: ^TForm1;
begin
  Caption := 'Main window';
  Label1.Caption := 'Name' {TZX:IGNORE};
  ShowMessage('Saved ' + IntToStr(1));
  Form1.Hint := 'x' + #9 + 'y'; // 'comment'
  (* 'old' *) P^.Caption := 'skip';
end;

procedure Helper;
begin
  Writeln('Outside the class');
end;

end.
