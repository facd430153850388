#include "clx/DB.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TFields

TField* TFields::Fields(Integer Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FList[static_cast<std::size_t>(Index)];
}

Integer TFields::IndexOf(const TField* Field) const {
    auto found = std::find(FList.begin(), FList.end(), Field);
    return found == FList.end() ? -1 : static_cast<Integer>(found - FList.begin());
}

TField* TFields::FindField(const AnsiString& FieldName) const {
    for (TField* field : FList)
        if (AnsiSameText(field->FieldName(), FieldName))
            return field;
    return nullptr;
}

TField* TFields::FieldByName(const AnsiString& FieldName) const {
    TField* field = FindField(FieldName);
    if (!field)
        throw EDatabaseError(Format("Field '%s' not found", {FieldName}));
    return field;
}

void TFields::Add(TField* Field) {
    FList.push_back(Field);
}

void TFields::Remove(TField* Field) {
    std::erase(FList, Field);
}

void TFields::Move(Integer CurIndex, Integer NewIndex) {
    TField* field = Fields(CurIndex);
    NewIndex = std::clamp(NewIndex, 0, Count() - 1);
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, field);
}

// ---------------------------------------------------------------------------
// TDataSet

TDataSet::TDataSet(TComponent* AOwner)
    : TComponent(AOwner), FFields(std::make_unique<TFields>(this)) {}

TDataSet::~TDataSet() {
    while (FFields->Count() > 0)
        FFields->Fields(FFields->Count() - 1)->SetDataSet(nullptr);
}

void TDataSet::BeforeDestruction() {
    TComponent::BeforeDestruction();
    while (FFields->Count() > 0)
        FFields->Fields(FFields->Count() - 1)->SetDataSet(nullptr);
}

// ---------------------------------------------------------------------------
// TField

TField::TField(TComponent* AOwner) : TField(AOwner, ftUnknown) {}

TField::TField(TComponent* AOwner, TFieldType ADataType)
    : TComponent(AOwner), FDataType(ADataType) {}

TField::~TField() {
    SetDataSet(nullptr);
}

void TField::BeforeDestruction() {
    TComponent::BeforeDestruction();
    SetDataSet(nullptr);
}

void TField::PublishedProperties(TPropertyBuilder<TField>& P) {
    P.Property("Alignment", &TField::Alignment, &TField::SetAlignment).Default(taLeftJustify);
    P.Property("DataSet", &TField::DataSet, &TField::SetDataSet);
    P.Property("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel)
        .Stored(&TField::DisplayLabelStored);
    P.Property("DisplayWidth", &TField::DisplayWidth, &TField::SetDisplayWidth)
        .Stored(&TField::DisplayWidthStored);
    P.Property("FieldName", &TField::FieldName, &TField::SetFieldName);
    P.Property("Index", &TField::Index, &TField::SetIndex).Stored(false);
    P.Property("ReadOnly", &TField::ReadOnly, &TField::SetReadOnly).Default(false);
    P.Property("Required", &TField::Required, &TField::SetRequired).Default(false);
    P.Property("Visible", &TField::Visible, &TField::SetVisible).Default(true);
}

void TField::SetDataSet(TDataSet* Value) {
    if (FDataSet == Value)
        return;
    if (Value && !FFieldName.empty() && Value->FindField(FFieldName))
        throw EDatabaseError(Format("Duplicate field name '%s'", {FFieldName}));
    if (FDataSet)
        FDataSet->Fields()->Remove(this);
    FDataSet = Value;
    if (Value)
        Value->Fields()->Add(this);
}

void TField::SetFieldName(const AnsiString& Value) {
    if (FFieldName == Value)
        return;
    if (FDataSet && !Value.empty()) {
        TField* other = FDataSet->FindField(Value);
        if (other && other != this)
            throw EDatabaseError(Format("Duplicate field name '%s'", {Value}));
    }
    FFieldName = Value;
}

// A label equal to the field name is no label of its own.
void TField::SetDisplayLabel(const AnsiString& Value) {
    FDisplayLabel = Value == FFieldName ? AnsiString() : Value;
}

Integer TField::Index() const {
    return FDataSet ? FDataSet->Fields()->IndexOf(this) : -1;
}

void TField::SetIndex(Integer Value) {
    if (FDataSet)
        FDataSet->Fields()->Move(Index(), Value);
}

// ---------------------------------------------------------------------------
// Descendants

TStringField::TStringField(TComponent* AOwner) : TField(AOwner, ftString) {}

void TStringField::PublishedProperties(TPropertyBuilder<TStringField>& P) {
    P.Property("EditMask", &TStringField::EditMask, &TStringField::SetEditMask);
    P.Property("Size", &TStringField::Size, &TStringField::SetSize).Default(20);
}

TNumericField::TNumericField(TComponent* AOwner, TFieldType ADataType) : TField(AOwner, ADataType) {
    SetAlignment(taRightJustify);
}

void TNumericField::PublishedProperties(TPropertyBuilder<TNumericField>& P) {
    P.Property("Alignment", &TField::Alignment, &TField::SetAlignment).Default(taRightJustify);
    P.Property("DisplayFormat", &TNumericField::DisplayFormat, &TNumericField::SetDisplayFormat);
    P.Property("EditFormat", &TNumericField::EditFormat, &TNumericField::SetEditFormat);
}

void TIntegerField::PublishedProperties(TPropertyBuilder<TIntegerField>& P) {
    P.Property("MaxValue", &TIntegerField::MaxValue, &TIntegerField::SetMaxValue).Default(0);
    P.Property("MinValue", &TIntegerField::MinValue, &TIntegerField::SetMinValue).Default(0);
}

void TFloatField::PublishedProperties(TPropertyBuilder<TFloatField>& P) {
    P.Property("Currency", &TFloatField::IsCurrency, &TFloatField::SetCurrency).Default(false);
    P.Property("Precision", &TFloatField::Precision, &TFloatField::SetPrecision).Default(15);
}

void TDateTimeField::PublishedProperties(TPropertyBuilder<TDateTimeField>& P) {
    P.Property("DisplayFormat", &TDateTimeField::DisplayFormat, &TDateTimeField::SetDisplayFormat);
    P.Property("EditMask", &TField::EditMask, &TField::SetEditMask);
}

void TBooleanField::PublishedProperties(TPropertyBuilder<TBooleanField>& P) {
    P.Property("DisplayValues", &TBooleanField::DisplayValues, &TBooleanField::SetDisplayValues);
}
