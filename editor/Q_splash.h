// The "Please wait..." window that long operations show on the GUI thread:
// a picture, a line of text and a progress bar. One window per process,
// made on first use; every routine lets pending messages run once, so the
// window repaints between the steps of an operation.
#pragma once

#include "clx/ComCtrls.h"
#include "clx/ExtCtrls.h"
#include "clx/Forms.h"
#include "clx/StdCtrls.h"

class TfrmSplash : public TForm {
    ZX_CLASS(TfrmSplash, TForm)
public:
    explicit TfrmSplash(TComponent* AOwner) : TForm(AOwner) {}
    ~TfrmSplash() override;
    void AfterConstruction() override;

    TImage* imWrite = nullptr;
    TImage* imScan = nullptr;
    TLabel* lbText = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
};

// The window, or nullptr when there is none.
extern TfrmSplash* frmSplash;

// Kind 0 shows the scanning picture, 1 the writing picture (a picture shown
// before stays); the window shows Text with the hourglass cursor.
void Splash(const AnsiString& Text, Byte Kind);
// Frees the window and gives the screen its cursor back.
void NoSplash();
// Shows the bar at 0 of Max; a hidden window stays hidden.
void SplashInitProgress(Integer Max);
// Moves the bar; a position beyond its range stops at the nearer end.
void SplashProgress(Integer Position);
void SplashHideProgress();
