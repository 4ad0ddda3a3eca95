#pragma once
// A window model built on the recording fakes of the desktop services.

#include "app/tform1.h"
#include "support/servicefakes.h"

#include <QStringList>
#include <memory>

// A window model on fakes, with the marker file and the bill folder pointed
// into the test's temporary folder.
struct FormFixture {
    FakeDialogs dialogs;
    FakeShell shell;
    FixedClock clock;
    FakeScreen screen;
    TPlatform platform;
    std::unique_ptr<TForm1> form;

    // `realDialogs` stands in for the recording fake (for the real Qt boxes).
    // `realScreen` likewise stands in for the fake screen.
    explicit FormFixture(const QStringList& arguments = {}, TDialogs* realDialogs = nullptr,
                         TScreen* realScreen = nullptr);
    // Builds the model, runs FormCreate and (unless told otherwise) shows it.
    TForm1& Make(bool show = true);
};
