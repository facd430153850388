// TzxFormStorage: keeps a dialog form's placement in the settings store of
// the form's class.
#include "runtime/QRegistry.h"
#include "runtime/QzxComp.h"

#include "clx/Forms.h"

#include <algorithm>
#include <array>

namespace {

const std::array<AnsiString, 3> WindowStateNames{"Normal", "Minimized", "Maximized"};

// Settings files can be edited by hand: bounds are held to what a window
// system can place (X11 coordinates are 16-bit).
constexpr Integer MaxCoordinate = 32767;

// The stored value of Name held to Lowest..Highest; Current when the value
// is missing or no integer, so that nothing unsaved turns into 0.
Integer StoredOr(TRegistry& Reg, const AnsiString& Name, Integer Current, Integer Lowest,
                 Integer Highest) {
    Integer value = 0;
    if (!Reg.ValueExists(Name) || !TryStrToInt(Reg.ReadString(Name), value))
        return Current;
    return std::clamp(value, Lowest, Highest);
}

// The window state a saved "State" names by its third character, which
// tells "Minimized", "Normal" and "Maximized" apart.
bool StateFromText(const AnsiString& Text, TWindowState& State) {
    if (Text.size() < 3)
        return false;
    switch (Text[2]) {
    case 'n':
        State = wsMinimized;
        return true;
    case 'r':
        State = wsNormal;
        return true;
    case 'x':
        State = wsMaximized;
        return true;
    default:
        return false;
    }
}

struct TPlacement {
    Integer Left, Top, Height, Width;
    TWindowState WindowState;
};

TPlacement PlacementOf(const TForm& Form) {
    return {Form.Left(), Form.Top(), Form.Height(), Form.Width(), Form.WindowState()};
}

void PutBack(TForm& Form, const TPlacement& Placement) {
    Form.SetBounds(Placement.Left, Placement.Top, Placement.Width, Placement.Height);
    Form.SetWindowState(Placement.WindowState);
}

void RestorePlacement(TForm& Form, TRegistry& Reg) {
    if (Reg.ReadString("State").empty())
        return;
    Form.SetTop(StoredOr(Reg, "Top", Form.Top(), -MaxCoordinate, MaxCoordinate));
    Form.SetLeft(StoredOr(Reg, "Left", Form.Left(), -MaxCoordinate, MaxCoordinate));
    Form.SetHeight(StoredOr(Reg, "Height", Form.Height(), 0, MaxCoordinate));
    Form.SetWidth(StoredOr(Reg, "Width", Form.Width(), 0, MaxCoordinate));
    TWindowState state = wsNormal;
    if (StateFromText(Reg.ReadString("State"), state))
        Form.SetWindowState(state);
}

} // namespace

TzxFormStorage::TzxFormStorage(TComponent* AOwner)
    : TComponent(AOwner), FForm(dynamic_cast<TForm*>(AOwner)) {
    FActive = FForm != nullptr;
}

TzxFormStorage::~TzxFormStorage() {
    try {
        FormDestroing(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TzxFormStorage::PublishedProperties(TPropertyBuilder<TzxFormStorage>& P) {
    P.Property("Active", &TzxFormStorage::Active, &TzxFormStorage::SetMyActive).Default(true);
    P.Property("RegRootKey", &TzxFormStorage::RegRootKey, &TzxFormStorage::SetRegRootKey)
        .Default(zxHKEY_CURRENT_USER);
    P.Property("SubKey", &TzxFormStorage::SubKey, &TzxFormStorage::SetSubKey);
}

void TzxFormStorage::SetMyActive(bool Value) {
    FActive = Value;
}

void TzxFormStorage::SetSubKey(const WideString& Value) {
    FSubKey = Value;
}

void TzxFormStorage::SetRegRootKey(TMyHKeyType Value) {
    if (FRegRootKey == Value)
        return;
    FRegRootKey = Value;
    FRootKey = u"Default_Section";
}

void TzxFormStorage::Loaded() {
    TComponent::Loaded();
    ReadSettings();
}

// Without a form there is nothing to place: the store would be named after
// a class that is no form's.
bool TzxFormStorage::Working() const {
    return FActive && FForm && !ComponentState().Contains(csDesigning);
}

void TzxFormStorage::ReadSettings() {
    if (!Working())
        return;
    const TPlacement remembered = PlacementOf(*FForm);
    try {
        TRegistry Reg(FForm);
        Reg.SetRootKey(UTF8Encode(FRootKey));
        Reg.OpenKey(UTF8Encode(FSubKey), true);
        RestorePlacement(*FForm, Reg);
    } catch (...) {
        PutBack(*FForm, remembered);
    }
}

void TzxFormStorage::FormDestroing(TObject*) {
    if (!Working())
        return;
    TRegistry Reg(FForm);
    Reg.SetRootKey("Default_Section");
    Reg.OpenKey(UTF8Encode(FSubKey), true);
    Reg.WriteString("State", WindowStateNames[FForm->WindowState()]);
    if (FForm->WindowState() == wsNormal) {
        Reg.WriteInteger("Top", FForm->Top());
        Reg.WriteInteger("Left", FForm->Left());
        Reg.WriteInteger("Height", FForm->Height());
        Reg.WriteInteger("Width", FForm->Width());
    }
}
