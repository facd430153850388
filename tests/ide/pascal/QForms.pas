{ Declares what the example project uses of its form library, so that a
  converted unit can be compiled. }
unit QForms;

interface

uses Classes;

type
  TCustomForm = class(TComponent)
  private
    FCaption: string;
    FOnCreate: TNotifyEvent;
  public
    property Caption: string read FCaption write FCaption;
    property OnCreate: TNotifyEvent read FOnCreate write FOnCreate;
  end;
  TForm = class(TCustomForm);
  TDataModule = class(TComponent)
  private
    FOnCreate: TNotifyEvent;
  public
    property OnCreate: TNotifyEvent read FOnCreate write FOnCreate;
  end;
  TFormClass = class of TComponent;
  TApplication = class(TComponent)
  public
    procedure Initialize;
    procedure CreateForm(FormClass: TFormClass; var Reference);
    procedure Run;
  end;

var
  Application: TApplication;

implementation

procedure TApplication.Initialize;
begin
end;

procedure TApplication.CreateForm(FormClass: TFormClass; var Reference);
begin
end;

procedure TApplication.Run;
begin
end;

end.
