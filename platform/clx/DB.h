// DB: the data-set and field components that forms hold, without a database
// engine: what form files store about fields (their labels, masks, formats
// and widths) and what the translation engine reads and writes on them.
//
// Fields are components owned by the form; a form file writes each one as a
// child of the form with a "DataSet" reference, and the field joins that
// data set's Fields when the reference is set. DisplayLabel reads as
// FieldName while no label of its own was given, and is written only when
// one was; setting it to the field name clears it.
#pragma once

#include "clx/Controls.h"

class TDataSet;
class TField;

class EDatabaseError : public Exception {
    using Exception::Exception;
};

ZX_ENUM(TFieldType, ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat,
        ftCurrency, ftBCD, ftDate, ftTime, ftDateTime);

// ---------------------------------------------------------------------------
// TFields: the fields of a data set in their order (it owns none of them).

class TFields : public TObject {
    ZX_CLASS(TFields, TObject)
public:
    explicit TFields(TDataSet* ADataSet) : FDataSet(ADataSet) {}

    TDataSet* DataSet() const { return FDataSet; }
    Integer Count() const { return static_cast<Integer>(FList.size()); }
    // EListError for a bad index.
    TField* Fields(Integer Index) const;
    Integer IndexOf(const TField* Field) const;
    // By FieldName without regard to case; nullptr when absent.
    TField* FindField(const AnsiString& FieldName) const;
    // EDatabaseError "Field 'X' not found" when absent.
    TField* FieldByName(const AnsiString& FieldName) const;

    void Add(TField* Field);
    void Remove(TField* Field);
    void Move(Integer CurIndex, Integer NewIndex);

private:
    TDataSet* FDataSet;
    std::vector<TField*> FList;
};

// ---------------------------------------------------------------------------
// TDataSet

class TDataSet : public TComponent {
    ZX_CLASS(TDataSet, TComponent)
public:
    explicit TDataSet(TComponent* AOwner);
    ~TDataSet() override;
    // The fields let go of the data set (they stay with their owner).
    void BeforeDestruction() override;

    TFields* Fields() const { return FFields.get(); }
    Integer FieldCount() const { return FFields->Count(); }
    TField* FindField(const AnsiString& FieldName) const { return FFields->FindField(FieldName); }
    TField* FieldByName(const AnsiString& FieldName) const {
        return FFields->FieldByName(FieldName);
    }

private:
    std::unique_ptr<TFields> FFields;
};

// ---------------------------------------------------------------------------
// TField and its descendants

class TField : public TComponent {
    ZX_CLASS(TField, TComponent)
public:
    explicit TField(TComponent* AOwner);
    ~TField() override;
    void BeforeDestruction() override;

    static void PublishedProperties(TPropertyBuilder<TField>& P);

    // Joins the data set's Fields (leaving the old one's); EDatabaseError
    // when the data set has a field of that FieldName already. A data set
    // that goes lets go of its fields.
    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);
    TFieldType DataType() const { return FDataType; }

    const AnsiString& FieldName() const { return FFieldName; }
    void SetFieldName(const AnsiString& Value);
    AnsiString DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const AnsiString& Value);
    // DisplayLabel, or FieldName when that is empty.
    AnsiString DisplayName() const { return DisplayLabel(); }
    // Characters shown in grids: the class's own width until one is set.
    Integer DisplayWidth() const { return FDisplayWidth > 0 ? FDisplayWidth : DefaultWidth(); }
    void SetDisplayWidth(Integer Value) { FDisplayWidth = Value; }
    const AnsiString& EditMask() const { return FEditMask; }
    void SetEditMask(const AnsiString& Value) { FEditMask = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool Required() const { return FRequired; }
    void SetRequired(bool Value) { FRequired = Value; }
    // Position among the data set's fields (-1 without one); setting it
    // moves the field.
    Integer Index() const;
    void SetIndex(Integer Value);

protected:
    TField(TComponent* AOwner, TFieldType ADataType);
    virtual Integer DefaultWidth() const { return 10; }
    bool DisplayLabelStored() const { return !FDisplayLabel.empty(); }
    bool DisplayWidthStored() const { return FDisplayWidth > 0; }

private:
    friend class TDataSet;

    TDataSet* FDataSet = nullptr;
    TFieldType FDataType;
    AnsiString FFieldName;
    AnsiString FDisplayLabel;
    Integer FDisplayWidth = 0;
    AnsiString FEditMask;
    TAlignment FAlignment = taLeftJustify;
    bool FVisible = true;
    bool FReadOnly = false;
    bool FRequired = false;
};

class TStringField : public TField {
    ZX_CLASS(TStringField, TField)
public:
    explicit TStringField(TComponent* AOwner);
    static void PublishedProperties(TPropertyBuilder<TStringField>& P);

    Integer Size() const { return FSize; }
    void SetSize(Integer Value) { FSize = Value; }

protected:
    Integer DefaultWidth() const override { return FSize; }

private:
    Integer FSize = 20;
};

// Numbers: right-aligned, with display and edit formats.
class TNumericField : public TField {
    ZX_CLASS(TNumericField, TField)
public:
    static void PublishedProperties(TPropertyBuilder<TNumericField>& P);

    const AnsiString& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const AnsiString& Value) { FDisplayFormat = Value; }
    const AnsiString& EditFormat() const { return FEditFormat; }
    void SetEditFormat(const AnsiString& Value) { FEditFormat = Value; }

protected:
    TNumericField(TComponent* AOwner, TFieldType ADataType);

private:
    AnsiString FDisplayFormat;
    AnsiString FEditFormat;
};

class TIntegerField : public TNumericField {
    ZX_CLASS(TIntegerField, TNumericField)
public:
    explicit TIntegerField(TComponent* AOwner) : TIntegerField(AOwner, ftInteger) {}
    static void PublishedProperties(TPropertyBuilder<TIntegerField>& P);

    // 0 and 0: no range check.
    Integer MinValue() const { return FMinValue; }
    void SetMinValue(Integer Value) { FMinValue = Value; }
    Integer MaxValue() const { return FMaxValue; }
    void SetMaxValue(Integer Value) { FMaxValue = Value; }

protected:
    TIntegerField(TComponent* AOwner, TFieldType ADataType) : TNumericField(AOwner, ADataType) {}
    Integer DefaultWidth() const override { return 11; }

private:
    Integer FMinValue = 0;
    Integer FMaxValue = 0;
};

class TSmallintField : public TIntegerField {
    ZX_CLASS(TSmallintField, TIntegerField)
public:
    explicit TSmallintField(TComponent* AOwner) : TIntegerField(AOwner, ftSmallint) {}

protected:
    Integer DefaultWidth() const override { return 6; }
};

class TFloatField : public TNumericField {
    ZX_CLASS(TFloatField, TNumericField)
public:
    explicit TFloatField(TComponent* AOwner) : TNumericField(AOwner, ftFloat) {}
    static void PublishedProperties(TPropertyBuilder<TFloatField>& P);

    // Shown as money.
    bool IsCurrency() const { return FCurrency; }
    void SetCurrency(bool Value) { FCurrency = Value; }
    // Significant digits shown.
    Integer Precision() const { return FPrecision; }
    void SetPrecision(Integer Value) { FPrecision = Value; }

private:
    bool FCurrency = false;
    Integer FPrecision = 15;
};

class TDateTimeField : public TField {
    ZX_CLASS(TDateTimeField, TField)
public:
    explicit TDateTimeField(TComponent* AOwner) : TField(AOwner, ftDateTime) {}
    static void PublishedProperties(TPropertyBuilder<TDateTimeField>& P);

    const AnsiString& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const AnsiString& Value) { FDisplayFormat = Value; }

protected:
    Integer DefaultWidth() const override { return 18; }

private:
    AnsiString FDisplayFormat;
};

class TBooleanField : public TField {
    ZX_CLASS(TBooleanField, TField)
public:
    explicit TBooleanField(TComponent* AOwner) : TField(AOwner, ftBoolean) {}
    static void PublishedProperties(TPropertyBuilder<TBooleanField>& P);

    // "True text;False text" (empty: "True;False").
    const AnsiString& DisplayValues() const { return FDisplayValues; }
    void SetDisplayValues(const AnsiString& Value) { FDisplayValues = Value; }

protected:
    Integer DefaultWidth() const override { return 5; }

private:
    AnsiString FDisplayValues;
};
