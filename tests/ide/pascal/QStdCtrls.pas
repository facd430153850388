{ The controls the example project's forms hold. }
unit QStdCtrls;

interface

uses Classes;

type
  TLabel = class(TComponent)
  public
    Caption: string;
  end;
  TButton = class(TComponent)
  public
    Caption: string;
  end;
  TEdit = class(TComponent)
  public
    Text: string;
  end;

implementation

end.
