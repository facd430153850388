// What form files need from this library: the classes they can create (a
// new control class adds its line here), the names of colours and cursors,
// and the screen's forms and data modules as roots that references between
// forms ("Form2.Button1") name.
#include "clx/ActnList.h"
#include "clx/Buttons.h"
#include "clx/CheckLst.h"
#include "clx/ComCtrls.h"
#include "clx/DB.h"
#include "clx/Dialogs.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/Grids.h"
#include "clx/ImgList.h"
#include "clx/StdCtrls.h"
#include "rtl/Filer.h"

namespace {

TComponent* FindGlobalForm(const AnsiString& Name) {
    for (Integer index = 0; index < Screen->FormCount(); ++index)
        if (SameText(Screen->Forms(index)->Name(), Name))
            return Screen->Forms(index);
    for (Integer index = 0; index < Screen->DataModuleCount(); ++index)
        if (SameText(Screen->DataModules(index)->Name(), Name))
            return Screen->DataModules(index);
    return nullptr;
}

} // namespace

void RegisterClxClasses() {
    RegisterClasses({
        TForm::StaticClass(),
        TFrame::StaticClass(),
        TDataModule::StaticClass(),
        TLabel::StaticClass(),
        TButton::StaticClass(),
        TEdit::StaticClass(),
        TMenuItem::StaticClass(),
        TMainMenu::StaticClass(),
        TPopupMenu::StaticClass(),
        TActionList::StaticClass(),
        TAction::StaticClass(),
        TDataSet::StaticClass(),
        TField::StaticClass(),
        TStringField::StaticClass(),
        TIntegerField::StaticClass(),
        TSmallintField::StaticClass(),
        TFloatField::StaticClass(),
        TDateTimeField::StaticClass(),
        TBooleanField::StaticClass(),
        TPageControl::StaticClass(),
        TTabSheet::StaticClass(),
        TStatusBar::StaticClass(),
        THeaderControl::StaticClass(),
        TListView::StaticClass(),
        TTreeView::StaticClass(),
        TProgressBar::StaticClass(),
        TToolBar::StaticClass(),
        TToolButton::StaticClass(),
        TMemo::StaticClass(),
        TCheckBox::StaticClass(),
        TRadioButton::StaticClass(),
        TGroupBox::StaticClass(),
        TComboBox::StaticClass(),
        TListBox::StaticClass(),
        TCheckListBox::StaticClass(),
        TBitBtn::StaticClass(),
        TSpeedButton::StaticClass(),
        TPanel::StaticClass(),
        TRadioGroup::StaticClass(),
        TImage::StaticClass(),
        TSplitter::StaticClass(),
        TBevel::StaticClass(),
        TImageList::StaticClass(),
        TTabControl::StaticClass(),
        TSpinEdit::StaticClass(),
        TPaintBox::StaticClass(),
        TDrawGrid::StaticClass(),
        TStringGrid::StaticClass(),
        TOpenDialog::StaticClass(),
        TSaveDialog::StaticClass(),
        TFindDialog::StaticClass(),
    });
    RegisterIntegerConsts("TColor", IdentToColor, ColorToIdent);
    RegisterIntegerConsts("TCursor", IdentToCursor, CursorToIdent);
    RegisterFindGlobalComponentProc(FindGlobalForm);
}
