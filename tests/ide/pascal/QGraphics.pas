{ Nothing of it is used by the example project. }
unit QGraphics;

interface

implementation

end.
