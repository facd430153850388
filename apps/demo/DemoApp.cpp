#include "DemoApp.h"

#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include <chrono>
#include <filesystem>
#include <iomanip>
#include <ostream>

namespace {

Integer TranslationLineCount(const TzxCustomLang& Lang) {
    Integer count = 0;
    for (Integer kind = 0; kind < StringsTypeCount; ++kind)
        if (TStrings* list = Lang.GetPropListByType(static_cast<TStringsType>(kind)))
            count += list->Count();
    return count;
}

// Switches the form's own component, timed.
double SwitchForm(TzxCustomLang& Lang, Integer Language) {
    auto start = std::chrono::steady_clock::now();
    Lang.SetActLang(Language);
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

AnsiString SavePicture(TForm& Form, const AnsiString& Dir, Integer Language) {
    bool wasVisible = Form.Visible();
    Form.Show();
    Application->ProcessMessages();
    QImage picture = Form.Handle()->grab().toImage();
    AnsiString path = IncludeTrailingPathDelimiter(Dir) + Form.Name() + "-" + IntToStr(Language) +
                      ".png";
    if (!picture.save(QString::fromStdString(path)))
        throw EFCreateError("Cannot create file \"" + path + "\"");
    if (!wasVisible)
        Form.Hide();
    return path;
}

// Text padded with blanks to Width characters (not bytes: names of
// languages are UTF-8).
AnsiString PadRight(const AnsiString& Text, std::size_t Width) {
    std::size_t characters = 0;
    for (char byte : Text)
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80)
            ++characters;
    return Text + AnsiString(characters < Width ? Width - characters : 0, ' ');
}

} // namespace

TDemoApplication::TDemoApplication() {
    Application->CreateForm(FData);
    // Each form's component links to the dispatcher as the form is read,
    // and takes its translations from the dispatcher's translation file.
    Application->CreateForm(FMainForm);
    Application->CreateForm(FOrdersForm);
}

TDemoApplication::~TDemoApplication() {
    delete FOrdersForm;
    delete FMainForm;
    delete FData;
}

std::vector<TForm*> TDemoApplication::Forms() const {
    return {FMainForm, FOrdersForm};
}

Integer TDemoApplication::LanguageCount() const {
    return FMainForm->Lang->NumOfLanguages();
}

AnsiString TDemoApplication::LanguageName(Integer Language) const {
    return FMainForm->Lang->LangNames()->Get(Language - 1);
}

void TDemoApplication::SwitchLanguage(Integer Language) {
    FData->LangDispatcher->SetActiveLanguage(Language);
}

std::vector<TSwitchRecord> TDemoApplication::WriteScreenshots(const AnsiString& Dir) {
    std::filesystem::create_directories(Dir);
    // Starting from the last language, every switch timed changes the texts.
    SwitchLanguage(LanguageCount());
    std::vector<TSwitchRecord> records;
    for (Integer language = 1; language <= LanguageCount(); ++language) {
        for (TForm* form : Forms()) {
            TzxCustomLang& lang = *TranslationComponentOf(form);
            TSwitchRecord record;
            record.Form = form->Name();
            record.Language = LanguageName(language);
            record.Texts = TranslationLineCount(lang);
            record.Milliseconds = SwitchForm(lang, language);
            record.Picture = SavePicture(*form, Dir, language);
            records.push_back(record);
        }
        // Each form shows the language already; the dispatcher takes it too.
        SwitchLanguage(language);
    }
    return records;
}

void PrintSwitchTable(std::ostream& Out, const std::vector<TSwitchRecord>& Records) {
    Out << PadRight("form", 12) << PadRight("language", 12) << std::setw(6) << "texts"
        << std::setw(14) << "switch (ms)" << "\n";
    for (const TSwitchRecord& record : Records)
        Out << PadRight(record.Form, 12) << PadRight(record.Language, 12) << std::setw(6)
            << record.Texts << std::setw(14) << std::fixed << std::setprecision(3)
            << record.Milliseconds << "\n";
}
