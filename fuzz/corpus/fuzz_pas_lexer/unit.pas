unit Main;

interface

uses
  SysUtils, Classes, QGraphics, QControls, QForms, QDialogs, QStdCtrls;

type
  TMainForm = class(TForm)
    TitleLabel: TLabel;
    OrdersButton: TButton;
    procedure OrdersButtonClick(Sender: TObject);
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  MainForm: TMainForm;

implementation

uses
  Orders;

{$R *.xfm}

procedure TMainForm.OrdersButtonClick(Sender: TObject);
begin
  { 'Not a literal: this is a comment.' }
  OrdersForm.Caption := 'Orders of today';
  ShowMessage('The orders are shown.');
end;

end.
