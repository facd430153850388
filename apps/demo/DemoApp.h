// The demo application as a whole: its forms, switching all of them to
// another language, and the screenshot mode that renders every form in
// every language.
#pragma once

#include "DemoForms.h"

#include <iosfwd>
#include <vector>

// One form switched to one language in screenshot mode.
struct TSwitchRecord {
    AnsiString Form;
    AnsiString Language;
    // The translation lines of the form's component: the texts it switches.
    Integer Texts = 0;
    double Milliseconds = 0;
    AnsiString Picture;
};

class TDemoApplication {
public:
    // Makes the forms of the application from the files in DemoFilesDir().
    TDemoApplication();
    ~TDemoApplication();
    TDemoApplication(const TDemoApplication&) = delete;
    TDemoApplication& operator=(const TDemoApplication&) = delete;

    TDemoData* Data() const { return FData; }
    TMainForm* MainForm() const { return FMainForm; }
    TOrdersForm* OrdersForm() const { return FOrdersForm; }
    // Every form, the main form first.
    std::vector<TForm*> Forms() const;
    Integer LanguageCount() const;
    // The name of a language, 1-based.
    AnsiString LanguageName(Integer Language) const;

    // Switches every form to Language (1-based) through the dispatcher.
    void SwitchLanguage(Integer Language);

    // Switches every form to each language in turn, timing each form's
    // switch, and writes a picture of each form in each language into Dir
    // (made when missing) as <form>-<language number>.png.
    std::vector<TSwitchRecord> WriteScreenshots(const AnsiString& Dir);

private:
    TDemoData* FData = nullptr;
    TMainForm* FMainForm = nullptr;
    TOrdersForm* FOrdersForm = nullptr;
};

// The records as a table: form, language, texts switched, time to switch.
void PrintSwitchTable(std::ostream& Out, const std::vector<TSwitchRecord>& Records);
