// Pictures of the editor on the demo's main form, written to the test
// output: the Captions list with a German cell selected, and the Strings
// list with a duplicated identifier painted as one.
#include "EditorTestSupport.h"

#include <QtGui/QImage>
#include <QtWidgets/QWidget>

namespace {

using namespace zxtest;

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TEditorEnvironment);

using EditorPictures = TDemoEditorTest;

QImage Picture(TzxTransEditFrm& Form, const char* Name) {
    Application->ProcessMessages();
    QImage picture = Form.Handle()->grab().toImage();
    picture.save(QString::fromStdString(TestOutputDir() + "/" + Name));
    return picture;
}

// The colour in the middle of a grid cell, in the picture of the form.
QColor CellColour(TzxTransEditFrm& Form, const QImage& Picture, Integer ACol, Integer ARow) {
    TRect cell = Form.Grid1->CellRect(ACol, ARow);
    QPoint inGrid(cell.Right - 3, cell.Bottom - 3);
    QPoint onForm = Form.Grid1->Handle()->mapTo(Form.Handle(), inGrid);
    return Picture.pixelColor(onForm);
}

TEST_F(EditorPictures, CaptionsWithAGermanCellSelected) {
    Edit(stCaptions, {sfFull, sfDesignTime}, [&](TzxTransEditFrm& Form) {
        SelectNode(Form, "Captions");
        Form.Grid1->SetCol(2);
        Form.Grid1->SetRow(2);
        QImage picture = Picture(Form, "editor-captions-german.png");
        EXPECT_EQ(CellColour(Form, picture, 2, 2), QColor(ColorToQColor(clHighlight)));
        EXPECT_NE(CellColour(Form, picture, 1, 2), QColor(ColorToQColor(clHighlight)));
        ClickItem(Form, "miClose");
    });
}

TEST_F(EditorPictures, StringsWithADuplicateIdentifierPaintedAsOne) {
    Edit(stStrings, {sfFull, sfSelected, sfDesignTime}, [&](TzxTransEditFrm& Form) {
        TStringGrid& grid = *Form.Grid1;
        EditCell(grid, 0, 3, AnsiLowerCase(grid.Cells(0, 1)));
        grid.SetCol(3);
        grid.SetRow(2);
        QImage picture = Picture(Form, "editor-strings-duplicate.png");
        const QColor duplicate(255, 240, 240);
        EXPECT_EQ(CellColour(Form, picture, 1, 1), duplicate);
        EXPECT_EQ(CellColour(Form, picture, 1, 3), duplicate);
        EXPECT_NE(CellColour(Form, picture, 1, 2), duplicate);
        Dialogs.Answer(mrNo);
        ClickItem(Form, "miClose");
    });
    EXPECT_EQ(Now(), Before);
}

} // namespace
