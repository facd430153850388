// Strings by identifier: program code's texts in the active language, from
// the string table at run time and from the lists themselves otherwise, or
// from the other components of the dispatcher for the lists they share.
#include "runtime/QzxComp_Engine.h"

namespace {

const char* const SStringNotFound = "String identifier \"%s\" not found!";

[[noreturn]] void RaiseNotFound(const WideString& ID) {
    throw ELanguageError(Format(SStringNotFound, {ID}));
}

char* CopiedToBlock(const WideString& Text) {
    if (Text.empty())
        return nullptr;
    const AnsiString text = UTF8Encode(Text);
    auto* block = static_cast<char*>(AllocMem(static_cast<Cardinal>(text.size() + 1)));
    text.copy(block, text.size());
    return block;
}

} // namespace

WideString TzxCustomLang::GetText(const WideString& ID) const {
    return GetTextFrom(*FStrings, ID, TranslateType == ttGetDefault);
}

WideString TzxCustomLang::GetTextOrDefault(const WideString& ID) const {
    return GetTextFrom(*FStrings, ID, true);
}

WideString TzxCustomLang::GetTextbyInt(Integer ID) const {
    return GetText(UTF8Decode(IntToStr(ID)));
}

char* TzxCustomLang::GetTextC(const WideString& ID) const {
    return CopiedToBlock(GetText(ID));
}

char* TzxCustomLang::GetTextOrDefaultC(const WideString& ID) const {
    return CopiedToBlock(GetTextOrDefault(ID));
}

WideString TzxCustomLang::GetTextFrom(TStrings& List, const WideString& ID, bool UseDefault) const {
    TStringsType kind;
    if (TEngine::DelegatesList(*this, List, true, kind)) {
        if (!FLangDispatcher)
            return WideString();
        if (TStrings* shared = TEngine::DelegatedList(*this, kind))
            return TEngine::TextLookup(*this, *shared, ID, UseDefault);
    }
    if (&List == FStrings.get() && !IsDesigning())
        return TEngine::TableLookup(*this, ID, UseDefault);
    return TEngine::TextLookup(*this, List, ID, UseDefault);
}

WideString TzxCustomLang::GetTextFromByIndex(TStrings& List, Integer Index, bool UseDefault) const {
    TStringsType kind;
    const TStrings* list = &List;
    if (TEngine::DelegatesList(*this, List, false, kind)) {
        if (!FLangDispatcher)
            return WideString();
        if (TStrings* shared = TEngine::DelegatedList(*this, kind))
            list = shared;
    }
    if (Index < 0 || Index >= list->Count())
        return WideString();
    return UTF8Decode(TEngine::LineValue(*this, list->Get(Index), false, UseDefault));
}

bool TzxCustomLang::TEngine::DelegatesList(const TzxCustomLang& L, const TStrings& List,
                                           bool WithStrings, TStringsType& Kind) {
    if (L.FOptions.Contains(loUseExtCommonStrings)) {
        if (&List == L.FDlgsCaptions.get()) {
            Kind = stDlgsCaptions;
            return true;
        }
        if (&List == L.FLocales.get()) {
            Kind = stLocales;
            return true;
        }
    }
    if (WithStrings && L.FOptions.Contains(loUseExtUDStrings) && &List == L.FStrings.get()) {
        Kind = stStrings;
        return true;
    }
    return false;
}

// The asker's own list is read by the asker's own rules, never by asking
// itself again.
TStrings* TzxCustomLang::TEngine::DelegatedList(const TzxCustomLang& L, TStringsType Kind) {
    for (Integer index = 0; index < L.FLangDispatcher->GetZxLangsCount(); ++index) {
        TzxCustomLang* linked = L.FLangDispatcher->GetZxLangs(index);
        TStrings* list = linked->GetPropListByType(Kind);
        if (list && list->Count() > 0)
            return linked == &L ? nullptr : list;
    }
    return nullptr;
}

bool TzxCustomLang::InTestMode() const {
    return FLangDispatcher && FLangDispatcher->TestMode();
}

WideString TzxCustomLang::TEngine::TableLookup(const TzxCustomLang& L, const WideString& ID,
                                               bool UseDefault) {
    const TzxIDSlot* found = L.FStringTable->FindIndexed(ID);
    if (!found) {
        if (L.DoRaiseExceptions)
            RaiseNotFound(ID);
        return WideString();
    }
    return TranslatedValue(
        L, [&](Integer Language) { return L.FStringTable->SlotText(*found, Language); }, L.InTestMode(), UseDefault);
}

// Keys are compared line by line: a line feed inside a value never makes
// the text after it a key.
WideString TzxCustomLang::TEngine::TextLookup(const TzxCustomLang& L, const TStrings& List,
                                              const WideString& ID, bool UseDefault) {
    const AnsiString id = UTF8Encode(ID);
    for (Integer index = 0; index < List.Count(); ++index) {
        const AnsiString line = List.Get(index);
        std::size_t keyEnd = line.find(L.Delim());
        if (keyEnd == AnsiString::npos || !AnsiSameText(line.substr(0, keyEnd), id))
            continue;
        return UTF8Decode(LineValue(L, line, L.InTestMode(), UseDefault));
    }
    if (L.DoRaiseExceptions)
        RaiseNotFound(ID);
    return WideString();
}
