{ The message routine the example project calls. }
unit QDialogs;

interface

procedure ShowMessage(const Msg: string);

implementation

procedure ShowMessage(const Msg: string);
begin
end;

end.
