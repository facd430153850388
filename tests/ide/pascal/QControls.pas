{ Nothing of it is used by the example project. }
unit QControls;

interface

implementation

end.
