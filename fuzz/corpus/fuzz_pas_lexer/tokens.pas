{$R *.xfm} (* comment
over lines *) // line
S := 'it''s'#13#$0A^M + 'open
P^.Next := &begin; X := $FF + 1.5e-3 + %101;
