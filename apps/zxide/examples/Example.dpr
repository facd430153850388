program Example;

uses
  QForms,
  Main in 'Main.pas' {MainForm},
  Orders in 'Orders.pas' {OrdersForm},
  Data in 'Data.pas' {DataModule1: TDataModule};

{$R *.res}

begin
  Application.Initialize;
  Application.CreateForm(TMainForm, MainForm);
  Application.CreateForm(TOrdersForm, OrdersForm);
  Application.CreateForm(TDataModule1, DataModule1);
  Application.Run;
end.
