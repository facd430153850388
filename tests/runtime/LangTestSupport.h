// What the translation component's tests share: translation lines and a
// form of the platform's controls with a translation component on it.
#pragma once

#include "runtime/QzxComp.h"

#include "clx/Forms.h"
#include "rtl/Filer.h"
#include "rtl/FormText.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace zxtest {

// The delimiter that ends each field of a translation line.
inline constexpr char D = '\1';

// A translation line: key and values, each followed by the delimiter.
inline AnsiString Line(std::initializer_list<AnsiString> Fields) {
    AnsiString line;
    for (const AnsiString& field : Fields)
        line += field + D;
    return line;
}

// Pattern formatted with 1, 2 .. Count in turn ("%0:d" the number), joined:
// the many language names of a file or a list.
inline AnsiString Numbered(Integer Count, const AnsiString& Pattern) {
    AnsiString joined;
    for (Integer number = 1; number <= Count; ++number)
        joined += Format(Pattern, {number});
    return joined;
}

// A control of class T named Name, owned by Parent and shown on it.
template <typename T> T* AddControl(TWinControl* Parent, const AnsiString& Name) {
    T* control = NewComponent<T>(Parent);
    control->SetName(Name);
    control->SetParent(Parent);
    return control;
}

// The form text of a component written in the binary form format.
inline AnsiString FormText(TComponent* Root) {
    TMemoryStream binary;
    WriteComponent(binary, Root);
    binary.SetPosition(0);
    TStringStream text;
    ObjectBinaryToText(binary, text);
    return text.DataString();
}

// Reads a form text into Instance, as the form-file reader does.
inline void ReadFormText(const AnsiString& Text, TComponent* Instance) {
    TStringStream text(Text);
    TMemoryStream binary;
    ObjectTextToBinary(text, binary);
    binary.SetPosition(0);
    ReadComponent(binary, Instance);
}

// A fresh form of class TFormClass for each test, owning the translation
// component Lang.
template <typename TFormClass> class TLangFormTest : public testing::Test {
protected:
    void SetUp() override {
        Form = NewForm<TFormClass>(nullptr);
        Lang = NewComponent<TzxLang>(Form);
    }
    void TearDown() override { delete Form; }

    TFormClass* Form = nullptr;
    TzxLang* Lang = nullptr;
};

} // namespace zxtest
