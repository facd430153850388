// The progress window: made on first use, one for the process, its bar
// kept in range, freed by NoSplash and by the application that owns it.
#include "EditorTestSupport.h"

#include "editor/Q_splash.h"

#include <QtGui/QImage>
#include <QtWidgets/QWidget>

namespace {

const testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new zxtest::TEditorEnvironment);

TEST(Splash, ShowsTextPicturesAndTheHourglassUntilNoSplash) {
    Splash("Scanning units", 0);
    ASSERT_NE(frmSplash, nullptr);
    EXPECT_EQ(frmSplash->Caption(), "Please wait...");
    EXPECT_TRUE(frmSplash->Visible());
    EXPECT_EQ(frmSplash->lbText->Caption(), "Scanning units");
    EXPECT_TRUE(frmSplash->imScan->Visible());
    EXPECT_FALSE(frmSplash->imWrite->Visible());
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    TfrmSplash* first = frmSplash;
    Splash("Writing units", 1);
    EXPECT_EQ(frmSplash, first);
    EXPECT_TRUE(frmSplash->imScan->Visible());
    EXPECT_TRUE(frmSplash->imWrite->Visible());
    NoSplash();
    EXPECT_EQ(frmSplash, nullptr);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    NoSplash();
    EXPECT_EQ(frmSplash, nullptr);
}

TEST(Splash, TheWindowIsARaisedPanel) {
    Splash("Scanning units", 0);
    QImage picture = frmSplash->Handle()->grab().toImage();
    picture.save(QString::fromStdString(zxtest::TestOutputDir() + "/splash.png"));
    const QColor topLeft = picture.pixelColor(0, picture.height() / 2);
    const QColor bottomRight = picture.pixelColor(picture.width() - 1, picture.height() / 2);
    EXPECT_GT(topLeft.lightness(), bottomRight.lightness()) << "lit from the top left";
    NoSplash();
}

TEST(Splash, PicturesAreTheFormsOwnFortyEightPixelImages) {
    SplashHideProgress();
    ASSERT_NE(frmSplash, nullptr);
    for (TImage* image : {frmSplash->imScan, frmSplash->imWrite}) {
        EXPECT_EQ(image->Picture()->Width(), 48);
        EXPECT_EQ(image->Picture()->Height(), 48);
    }
    EXPECT_FALSE(
        frmSplash->imScan->Picture()->Bitmap()->Equals(*frmSplash->imWrite->Picture()->Bitmap()));
    NoSplash();
}

TEST(Splash, ProgressBeforeSplashMakesAHiddenWindowAndStaysInRange) {
    SplashProgress(3);
    ASSERT_NE(frmSplash, nullptr);
    EXPECT_FALSE(frmSplash->Visible());
    SplashInitProgress(10);
    EXPECT_FALSE(frmSplash->Visible());
    EXPECT_TRUE(frmSplash->ProgressBar1->Visible());
    EXPECT_EQ(frmSplash->ProgressBar1->Position(), 0);
    SplashProgress(7);
    EXPECT_EQ(frmSplash->ProgressBar1->Position(), 7);
    SplashProgress(25);
    EXPECT_EQ(frmSplash->ProgressBar1->Position(), 10);
    SplashProgress(-4);
    EXPECT_EQ(frmSplash->ProgressBar1->Position(), 0);
    SplashHideProgress();
    EXPECT_FALSE(frmSplash->ProgressBar1->Visible());
    NoSplash();
}

TEST(Splash, AWindowLeftOpenGoesWithTheApplication) {
    Splash("Left open", 2);
    EXPECT_FALSE(frmSplash->imScan->Visible());
    EXPECT_FALSE(frmSplash->imWrite->Visible());
    delete frmSplash->Owner()->Components(frmSplash->ComponentIndex());
    EXPECT_EQ(frmSplash, nullptr);
}

} // namespace
