unit Orders;

interface

uses
  SysUtils, Classes, QGraphics, QControls, QForms, QDialogs, QStdCtrls;

type
  TOrdersForm = class(TForm)
    CustomerLabel: TLabel;
    CustomerEdit: TEdit;
  private
    { Private declarations }
  public
    { Public declarations }
  end;

var
  OrdersForm: TOrdersForm;

implementation

{$R *.xfm}

end.
