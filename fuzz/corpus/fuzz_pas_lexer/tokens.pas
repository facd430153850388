{$R *.xfm} (* comment
over lines *) // line
S := 'it''s'#13#$0A^M + 'open
P^.Next := &begin; X := $FF + 1.5e-3 + %101;
unit U; interface uses A, B; type TX = class(TObject) procedure Go; end;
implementation procedure TX.Go; begin if (a <> b) and not c then Exit end; end.
