#include "DemoTranslations.h"

#include "DemoForms.h"

#include "rtl/Filer.h"

#include <set>

namespace {

const TDemoText MainTexts[] = {
    {stCaptions, "TMainForm",
     {"TzxLang demo: orders", "TzxLang-Demo: Bestellungen", "Демонстрация TzxLang: заказы"}},
    {stCaptions, "LanguageLabel", {"Language:", "Sprache:", "Язык:"}},
    {stCaptions, "NameLabel", {"&Customer:", "&Kunde:", "&Клиент:"}},
    {stCaptions, "ShippingLabel", {"Shipping:", "Versand:", "Доставка:"}},
    {stCaptions, "NotesLabel", {"Notes:", "Notizen:", "Заметки:"}},
    {stCaptions, "OrdersButton", {"&Orders...", "&Bestellungen...", "&Заказы..."}},
    {stCaptions, "AboutButton", {"&About...", "&Info...", "&О программе..."}},
    {stCaptions, "FileMenu", {"&File", "&Datei", "&Файл"}},
    {stCaptions, "OrdersItem", {"&Orders...", "&Bestellungen...", "&Заказы..."}},
    {stCaptions, "TranslateItem",
     {"Translation Editor...", "Übersetzungseditor...", "Редактор перевода..."}},
    {stCaptions, "ExitItem", {"E&xit", "&Beenden", "В&ыход"}},
    {stCaptions, "LanguageMenu", {"&Language", "&Sprache", "&Язык"}},
    {stCaptions, "HelpMenu", {"&Help", "&Hilfe", "&Справка"}},
    {stCaptions, "AboutItem", {"&About...", "&Info...", "&О программе..."}},
    {stCaptions, "RefreshItem", {"&Refresh", "&Aktualisieren", "&Обновить"}},
    {stHints, "OrdersButton",
     {"Open the order form", "Das Bestellformular öffnen", "Открыть форму заказа"}},
    {stHints, "AboutButton",
     {"What this demo shows", "Was diese Demo zeigt", "Что показывает эта демонстрация"}},
    {stHints, "LanguageCombo",
     {"Switches every form of the application", "Schaltet alle Formulare der Anwendung um",
      "Переключает все формы приложения"}},
    {stDisplayLabels, "CustomersName", {"Customer name", "Kundenname", "Имя клиента"}},
    {stFonts, "TMainForm", {"DejaVu Sans", "DejaVu Sans", "DejaVu Sans"}},
    {stMultiLines, "NotesMemo.Lines",
     {"\"Deliver before noon.\",\"Call the customer first.\"",
      "\"Vor Mittag liefern.\",\"Zuerst den Kunden anrufen.\"",
      "\"Доставить до полудня.\",\"Сначала позвонить клиенту.\""}},
    {stMultiLines, "ShippingCombo.Items",
     {"Standard,Express,Pick-up", "Standard,Express,Abholung", "Обычная,Срочная,Самовывоз"}},
    {stDlgsCaptions, "Information", {"Information", "Information", "Информация"}},
    {stDlgsCaptions, "Warning", {"Warning", "Warnung", "Предупреждение"}},
    {stDlgsCaptions, "Error", {"Error", "Fehler", "Ошибка"}},
    {stDlgsCaptions, "Confirm", {"Confirm", "Bestätigen", "Подтверждение"}},
    {stDlgsCaptions, "OK", {"OK", "OK", "ОК"}},
    {stDlgsCaptions, "Cancel", {"Cancel", "Abbrechen", "Отмена"}},
    {stDlgsCaptions, "Yes", {"&Yes", "&Ja", "&Да"}},
    {stDlgsCaptions, "No", {"&No", "&Nein", "&Нет"}},
    {stDlgsCaptions, "Abort", {"&Abort", "&Abbrechen", "&Прервать"}},
    {stDlgsCaptions, "Retry", {"&Retry", "&Wiederholen", "&Повторить"}},
    {stDlgsCaptions, "Ignore", {"&Ignore", "&Ignorieren", "&Пропустить"}},
    {stStrings, "SOrderSummary",
     {"%d orders, %.2n in total", "%d Bestellungen, insgesamt %.2n",
      "Заказов: %d, на сумму %.2n"}},
    {stStrings, "SToday", {"Today is %s", "Heute ist %s", "Сегодня %s"}},
    {stStrings, "SAboutText",
     {"Every text of this application comes from its form files, its translation file "
      "or its string table.",
      "Jeder Text dieser Anwendung stammt aus ihren Formulardateien, ihrer Übersetzungsdatei "
      "oder ihrer Stringtabelle.",
      "Все тексты этого приложения взяты из файлов его форм, файла перевода или таблицы "
      "строк."}},
    {stOtherStrings, "NameEdit.Text", {"(new customer)", "(neuer Kunde)", "(новый клиент)"}},
    {stLocales, "Decimal Separator", {".", ",", ","}},
    {stLocales, "Thousand Separator", {",", ".", " "}},
    {stLocales, "Long Date Format",
     {"dddd, mmmm d, yyyy", "dddd, d. mmmm yyyy", "dddd, d mmmm yyyy"}},
    {stLocales, "Long Month Names",
     {"January,February,March,April,May,June,July,August,September,October,November,December",
      "Januar,Februar,März,April,Mai,Juni,Juli,August,September,Oktober,November,Dezember",
      "января,февраля,марта,апреля,мая,июня,июля,августа,сентября,октября,ноября,декабря"}},
    {stLocales, "Long Day Names",
     {"Sunday,Monday,Tuesday,Wednesday,Thursday,Friday,Saturday",
      "Sonntag,Montag,Dienstag,Mittwoch,Donnerstag,Freitag,Samstag",
      "воскресенье,понедельник,вторник,среда,четверг,пятница,суббота"}},
    {stCollections, "OrdersList.Columns[0].Caption", {"Order", "Bestellung", "Заказ"}},
    {stCollections, "OrdersList.Columns[1].Caption", {"Customer", "Kunde", "Клиент"}},
    {stCollections, "OrdersList.Columns[2].Caption", {"Amount", "Betrag", "Сумма"}},
    {stCollections, "StatusBar.Panels[2].Text", {"Ready", "Bereit", "Готово"}},
    {stCharSets, "TMainForm", {"ISO8859_1_CHARSET", "ISO8859_15_CHARSET", "RUSSIAN_CHARSET"}},
};

// The German column title is longer: the column grows with it.
const TDemoExtendedText MainExtendedTexts[] = {
    {"OrdersList.Columns[0].Width", tkInteger, {"70", "95", "70"}},
};

const TDemoText OrdersTexts[] = {
    {stCaptions, "TOrdersForm", {"Order", "Bestellung", "Заказ"}},
    {stCaptions, "OrderLabel", {"Order number:", "Bestellnummer:", "Номер заказа:"}},
    {stCaptions, "CustomerLabel", {"Customer:", "Kunde:", "Клиент:"}},
    {stCaptions, "PaidCheck", {"Paid", "Bezahlt", "Оплачен"}},
    {stCaptions, "ExpressCheck", {"Express delivery", "Expresslieferung", "Срочная доставка"}},
    {stCaptions, "DeleteButton", {"&Delete order", "Bestellung &löschen", "&Удалить заказ"}},
    {stCaptions, "CloseButton", {"&Close", "&Schließen", "&Закрыть"}},
    {stHints, "DeleteButton",
     {"Deletes the order after asking", "Löscht die Bestellung nach einer Rückfrage",
      "Удаляет заказ после подтверждения"}},
    {stFonts, "TOrdersForm", {"DejaVu Sans", "DejaVu Sans", "DejaVu Sans"}},
    {stStrings, "SDeleteOrder",
     {"Delete order %s?", "Bestellung %s löschen?", "Удалить заказ %s?"}},
    {stCollections, "LinesList.Columns[0].Caption", {"Article", "Artikel", "Товар"}},
    {stCollections, "LinesList.Columns[1].Caption", {"Quantity", "Menge", "Количество"}},
    {stCharSets, "TOrdersForm", {"ISO8859_1_CHARSET", "ISO8859_15_CHARSET", "RUSSIAN_CHARSET"}},
};

// Each value followed by the delimiter.
AnsiString JoinValues(const std::array<const char*, DemoLanguageCount>& Values, char Delim) {
    AnsiString joined;
    for (const char* value : Values)
        joined += AnsiString(value) + Delim;
    return joined;
}

} // namespace

const std::vector<AnsiString>& DemoFormFiles() {
    static const std::vector<AnsiString> files = {"DemoData.xfm", "MainForm.xfm",
                                                  "OrdersForm.xfm"};
    return files;
}

std::unique_ptr<TComponent> LoadDemoFormFile(const AnsiString& FileName) {
    const AnsiString name = ChangeFileExt(ExtractFileName(FileName), "");
    std::unique_ptr<TComponent> form;
    if (name == "DemoData")
        form.reset(NewComponent<TDemoData>(nullptr));
    else if (name == "MainForm")
        form.reset(NewComponent<TMainForm>(nullptr));
    else if (name == "OrdersForm")
        form.reset(NewComponent<TOrdersForm>(nullptr));
    else
        throw EFOpenError("No form of the demo is stored in \"" + FileName + "\"");
    LoadComponentFromFile(FileName, form.get());
    return form;
}

std::vector<std::unique_ptr<TComponent>> LoadDemoFormFiles(const AnsiString& Dir) {
    const AnsiString dir = IncludeTrailingPathDelimiter(Dir);
    std::vector<std::unique_ptr<TComponent>> files;
    files.push_back(LoadDemoFormFile(dir + DemoFormFiles()[0]));
    TzxLangDispatcher& dispatcher = DemoDispatcherOf(files);
    const AnsiString translationFile = dispatcher.FileName();
    dispatcher.SetFileName("");
    for (std::size_t index = 1; index < DemoFormFiles().size(); ++index)
        files.push_back(LoadDemoFormFile(dir + DemoFormFiles()[index]));
    dispatcher.SetFileName(translationFile);
    return files;
}

TzxLangDispatcher& DemoDispatcherOf(const std::vector<std::unique_ptr<TComponent>>& Files) {
    return *RequiredComponent<TzxLangDispatcher>(Files.at(0).get(), "LangDispatcher");
}

std::vector<TzxCustomLang*>
DemoFormComponents(const std::vector<std::unique_ptr<TComponent>>& Files) {
    std::vector<TzxCustomLang*> components;
    for (std::size_t index = 1; index < Files.size(); ++index)
        components.push_back(TranslationComponentOf(Files[index].get()));
    return components;
}

std::span<const TDemoText> MainFormTexts() {
    return MainTexts;
}

std::span<const TDemoExtendedText> MainFormExtendedTexts() {
    return MainExtendedTexts;
}

std::span<const TDemoText> OrdersFormTexts() {
    return OrdersTexts;
}

void PutDemoTexts(TzxCustomLang& Lang, std::span<const TDemoText> Texts) {
    std::set<TStringsType> kinds;
    for (const TDemoText& text : Texts)
        kinds.insert(text.Kind);
    for (TStringsType kind : kinds)
        Lang.GetPropListByType(kind)->Clear();
    const char delim = static_cast<char>(Lang.LangDelim());
    for (const TDemoText& text : Texts)
        Lang.GetPropListByType(text.Kind)->Add(AnsiString(text.Key) + delim +
                                               JoinValues(text.Values, delim));
}

void PutDemoExtendedTexts(TzxCustomLang& Lang, std::span<const TDemoExtendedText> Texts) {
    Lang.ExtendedTranslations()->Clear();
    const char delim = static_cast<char>(Lang.LangDelim());
    for (const TDemoExtendedText& text : Texts) {
        TzxExtendedItem* item = Lang.ExtendedTranslations()->Add();
        item->SetIdentifier(text.Identifier);
        item->SetPropertyType(text.PropertyType);
        item->SetValues(JoinValues(text.Values, delim));
    }
}

void SaveDemoTranslationFile(const AnsiString& FileName,
                             const std::vector<TzxCustomLang*>& Components) {
    DeleteFile(FileName);
    const WideString file = UTF8Decode(FileName);
    const WideString delimiter = UTF8Decode(DemoTranslationDelimiter);
    for (TzxCustomLang* lang : Components)
        lang->SaveAllToFile(file, delimiter);
}

void WriteDemoFiles(const AnsiString& SourceDir, const AnsiString& TargetDir) {
    const AnsiString target = IncludeTrailingPathDelimiter(TargetDir);
    std::vector<std::unique_ptr<TComponent>> files = LoadDemoFormFiles(SourceDir);
    const std::vector<TzxCustomLang*> components = DemoFormComponents(files);
    TzxCustomLang& mainLang = *components[0];
    PutDemoTexts(mainLang, MainFormTexts());
    PutDemoExtendedTexts(mainLang, MainFormExtendedTexts());
    for (std::size_t index = 0; index < files.size(); ++index)
        SaveComponentToTextFile(target + DemoFormFiles()[index], files[index].get());
    // The order form keeps no translations in its form file.
    PutDemoTexts(*components[1], OrdersFormTexts());
    SaveDemoTranslationFile(target + DemoDispatcherOf(files).FileName(), components);
}
