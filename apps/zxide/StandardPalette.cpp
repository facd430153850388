#include "StandardPalette.h"

#include "designide/DesignIntf.h"

#include "clx/ActnList.h"
#include "clx/Buttons.h"
#include "clx/CheckLst.h"
#include "clx/ComCtrls.h"
#include "clx/ExtCtrls.h"
#include "clx/ImgList.h"
#include "clx/Menus.h"
#include "clx/StdCtrls.h"

void RegisterStandardPalette() {
    RegisterComponents("Standard",
                       {TMainMenu::StaticClass(), TPopupMenu::StaticClass(), TLabel::StaticClass(),
                        TEdit::StaticClass(), TMemo::StaticClass(), TButton::StaticClass(),
                        TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                        TListBox::StaticClass(), TComboBox::StaticClass(), TGroupBox::StaticClass(),
                        TRadioGroup::StaticClass(), TPanel::StaticClass(),
                        TActionList::StaticClass()});
    RegisterComponents("Additional",
                       {TBitBtn::StaticClass(), TSpeedButton::StaticClass(), TImage::StaticClass(),
                        TBevel::StaticClass(), TSplitter::StaticClass(),
                        TCheckListBox::StaticClass()});
    RegisterComponents("Common Controls",
                       {TPageControl::StaticClass(), TImageList::StaticClass(),
                        TProgressBar::StaticClass(), TListView::StaticClass(),
                        TTreeView::StaticClass(), TStatusBar::StaticClass(),
                        TToolBar::StaticClass(), THeaderControl::StaticClass()});
}
