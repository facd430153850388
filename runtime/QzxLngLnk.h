// TzxLangLinked: a translation component that shares the message-dialog
// texts and locale settings of another translation component, its common
// container, and handles the other kinds of text itself.
#pragma once

#include "runtime/QzxComp.h"

class TzxLangLinked : public TzxCustomLang {
    ZX_CLASS(TzxLangLinked, TzxCustomLang)
public:
    explicit TzxLangLinked(TComponent* AOwner) : TzxCustomLang(AOwner) {}
    static void PublishedProperties(TPropertyBuilder<TzxLangLinked>& P);

    // The component whose DlgsCaptions and Locales this one takes at run
    // time; not owned. It may live on another form: a free notification
    // clears the reference when it is destroyed.
    TzxCustomLang* CommonContainer() const { return FCommonContainer; }
    // Outside loading, a new container is taken over at once (Loaded runs
    // again); the component itself is refused silently.
    void SetCommonContainer(TzxCustomLang* Value);

protected:
    // At design time the dialog texts and locales are dropped; at run time
    // they are copied from the container, in this component's delimiter.
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void CopyContainerLists();

    TzxCustomLang* FCommonContainer = nullptr;
};

// Unit start-up: registers TzxLangLinked for form streaming unless a class
// of that name is registered already.
void InitQzxLngLnk();
