#pragma once
// The real window, offscreen, on the recording fakes: the model is created,
// the view built on it, then both are shown, as the program does.

#include "app/view/formview.h"
#include "support/formfixture.h"

#include <gtest/gtest.h>
#include <memory>

struct ViewFixture {
    FormFixture fx;
    TForm1* form = nullptr;
    std::unique_ptr<TFormView> view;
    // `dialogs` replaces the recording fake (for the real Qt boxes).
    explicit ViewFixture(const QStringList& args = {}, TDialogs* dialogs = nullptr);
    // The widget of that name and type; a missing one fails the test.
    template <class W> W* W_(const char* name) const {
        auto* w = view->Widget<W>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};
