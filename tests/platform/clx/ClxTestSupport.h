// What the platform control tests share: the one QApplication of a mirror
// test program, typing and clicking into widgets, a form to put controls
// on, and a watcher of destroyed components.
#pragma once

#include "clx/Forms.h"
#include "clx/StdCtrls.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace zxtest {

// One QApplication for the whole program, made the way programs make it. A
// mirror test program adds it with testing::AddGlobalTestEnvironment.
class TApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override {
        RegisterClxClasses();
        Application->Initialize();
    }
    void TearDown() override { DoneApplication(); }
};

inline QString Q(const char* Text) {
    return QString::fromUtf8(Text);
}

// Key presses and releases, one character after the other.
inline void TypeInto(QWidget* Widget, const QString& Text) {
    for (QChar character : Text) {
        int key = character.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(character));
        QApplication::sendEvent(Widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(character));
        QApplication::sendEvent(Widget, &release);
    }
}

// A left click at Position of Widget.
inline void ClickAt(QWidget* Widget, QPoint Position) {
    QPointF local(Position);
    QPointF global(Widget->mapToGlobal(Position));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(Widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(Widget, &release);
}

// The user's choice of an item of the drop-down list.
inline void Pick(TComboBox& Box, const AnsiString& Item) {
    const int index = Box.Items()->IndexOf(Item);
    ASSERT_GE(index, 0) << Item;
    auto* widget = qobject_cast<QComboBox*>(Box.Handle());
    widget->setCurrentIndex(index);
    Q_EMIT widget->activated(index);
}

// Counts the paint events of the widgets it is installed on.
class TPaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* Event) override {
        Count += Event->type() == QEvent::Paint;
        return false;
    }
    int Count = 0;
};

// A form of the application for each test, with the controls Make puts on it.
class TFormTest : public testing::Test {
protected:
    void SetUp() override {
        Form = NewForm<TForm>(Application);
        Form->SetBounds(10, 10, 400, 300);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }

    template <typename T> T* Make() {
        auto* control = NewComponent<T>(Form);
        control->SetParent(Form);
        return control;
    }

    TForm* Form = nullptr;
};

// Tells whether the components it watches are destroyed.
class TWatcher : public TComponent {
public:
    TWatcher() : TComponent(nullptr) {}
    void Watch(TComponent* Component) { Component->FreeNotification(this); }
    bool Freed(TComponent* Component) const {
        return std::find(FFreed.begin(), FFreed.end(), Component) != FFreed.end();
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove)
            FFreed.push_back(AComponent);
    }

private:
    std::vector<TComponent*> FFreed;
};

} // namespace zxtest
