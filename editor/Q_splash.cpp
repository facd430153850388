#include "editor/Q_splash.h"

#include "editor/FormData.h"

std::string_view FormData_Q_splash();

TfrmSplash* frmSplash = nullptr;

TfrmSplash::~TfrmSplash() {
    // The application frees a window left open; the global must not outlive it.
    if (frmSplash == this)
        frmSplash = nullptr;
}

void TfrmSplash::AfterConstruction() {
    RegisterClxClasses();
    ReadFormData(FormData_Q_splash(), this);
    imWrite = FormControl<TImage>(this, "imWrite");
    imScan = FormControl<TImage>(this, "imScan");
    lbText = FormControl<TLabel>(this, "lbText");
    ProgressBar1 = FormControl<TProgressBar>(this, "ProgressBar1");
    TForm::AfterConstruction();
}

namespace {

TfrmSplash& SplashWindow() {
    if (!frmSplash)
        frmSplash = NewForm<TfrmSplash>(Application);
    return *frmSplash;
}

// Lets the window paint what has just changed.
void ShowProgress(TfrmSplash& Window) {
    Window.Invalidate();
    Application->ProcessMessages();
}

} // namespace

void Splash(const AnsiString& Text, Byte Kind) {
    TfrmSplash& window = SplashWindow();
    Screen->SetCursor(crHourGlass);
    if (Kind == 0)
        window.imScan->Show();
    else if (Kind == 1)
        window.imWrite->Show();
    window.lbText->SetCaption(Text);
    window.Show();
    ShowProgress(window);
}

void NoSplash() {
    Screen->SetCursor(crDefault);
    delete frmSplash;
}

void SplashInitProgress(Integer Max) {
    TfrmSplash& window = SplashWindow();
    window.ProgressBar1->Show();
    window.ProgressBar1->SetPosition(0);
    window.ProgressBar1->SetMax(Max);
    ShowProgress(window);
}

void SplashProgress(Integer Position) {
    TfrmSplash& window = SplashWindow();
    window.ProgressBar1->SetPosition(Position);
    ShowProgress(window);
}

void SplashHideProgress() {
    SplashWindow().ProgressBar1->Hide();
}
