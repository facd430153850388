// TzxFormStorage: a dialog form's size, position and window state, restored
// when the form is loaded and saved when it is destroyed, in the settings
// store of the form's class under the section SubKey.
#pragma once

#include "rtl/Classes.h"

class TForm;

ZX_ENUM(TMyHKeyType, zxHKEY_CURRENT_USER, zxHKEY_CLASSES_ROOT, zxHKEY_LOCAL_MACHINE, zxHKEY_USERS,
        zxHKEY_CURRENT_CONFIG, zxHKEY_DYN_DATA);

class TzxFormStorage : public TComponent {
    ZX_CLASS(TzxFormStorage, TComponent)
public:
    // An owner that is no form leaves the storage inactive for good.
    explicit TzxFormStorage(TComponent* AOwner);
    // Saves the placement; failures are reported, never raised.
    ~TzxFormStorage() override;
    TzxFormStorage(const TzxFormStorage&) = delete;
    TzxFormStorage& operator=(const TzxFormStorage&) = delete;

    static void PublishedProperties(TPropertyBuilder<TzxFormStorage>& P);

    bool Active() const { return FActive; }
    void SetMyActive(bool Value);
    const WideString& SubKey() const { return FSubKey; }
    void SetSubKey(const WideString& Value);
    // Kept for form files; it selects nothing.
    TMyHKeyType RegRootKey() const { return FRegRootKey; }
    void SetRegRootKey(TMyHKeyType Value);
    TForm* GetForm() const { return FForm; }

    // Restores the saved placement; restores the form's own on any failure.
    void ReadSettings();
    void FormDestroing(TObject* Sender);

protected:
    void Loaded() override;

private:
    bool Working() const;

    bool FActive = true;
    WideString FSubKey;
    TMyHKeyType FRegRootKey = zxHKEY_CURRENT_USER;
    WideString FRootKey = u"Default_Section";
    TForm* FForm = nullptr;
};
