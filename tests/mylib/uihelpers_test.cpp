// The user-interface helpers: colours, centring, dialog texts, the error box
// text and the link label.
#include "elements/colours.h"
#include "elements/forms.h"
#include "elements/urllabel.h"
#include "mylib/dialogtexts.h"
#include "mylib/errors.h"
#include "support/servicefakes.h"

#include <gtest/gtest.h>

TEST(HtmlHexToColour, SixHexDigitsWithOrWithoutDollar) {
    EXPECT_EQ(HtmlHexToColour("FFFBF0"), 15793151u);
    EXPECT_EQ(HtmlHexToColour("$FFFBF0"), 15793151u);
    EXPECT_EQ(HtmlHexToColour("fffbf0"), 15793151u);
    // Red is the lowest byte.
    EXPECT_EQ(HtmlHexToColour("0000FF"), 0xFF0000u);
    EXPECT_EQ(HtmlHexToColour("FF0000"), 0x0000FFu);
}

TEST(HtmlHexToColour, AnythingElseThrows) {
    for (const char* bad : {"#FFFBF0", "FFFBF", "FFF", "", "$", "GGFBF0", "FF FB0", "$$FFFBF0"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(HtmlHexToColour(QString::fromLatin1(bad)), EVoltiskError);
    }
}

TEST(CentreOnScreen, HalvesRoundTowardZero) {
    FakeScreen screen;
    CentreOnScreen(nullptr, screen); // no window: nothing to do, no crash
    TForm window("Form1");
    window.SetBounds(5, 5, 1000, 601);
    CentreOnScreen(&window, screen);
    EXPECT_EQ(window.Left(), 460);
    EXPECT_EQ(window.Top(), 540 - 300);
    EXPECT_EQ(window.Width(), 1000);

    window.SetBounds(0, 0, 1001, 2001);
    CentreOnScreen(&window, screen);
    EXPECT_EQ(window.Left(), 960 - 500);
    EXPECT_EQ(window.Top(), 540 - 1000);
}

TEST(DialogMessageText, HeadlineAloneOrTwoCarriageReturnsAndDetail) {
    EXPECT_EQ(DialogMessageText("Values successfully inserted.", ""),
              "Values successfully inserted.");
    EXPECT_EQ(DialogMessageText("Insert?", "From bill.csv"), "Insert?\r\rFrom bill.csv");
    EXPECT_EQ(DialogMessageText("", "Detail"), "\r\rDetail");
}

TEST(ErrorBoxText, FullStopUnlessTheLastCharacterIsAtOrBeforeIt) {
    EXPECT_EQ(ErrorBoxText("'x' is not a valid floating point value"),
              "'x' is not a valid floating point value.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Really!"), "Really!");
    EXPECT_EQ(ErrorBoxText("(see above)"), "(see above)");
    EXPECT_EQ(ErrorBoxText("a-"), "a-");
    EXPECT_EQ(ErrorBoxText("path/"), "path/.");
    EXPECT_EQ(ErrorBoxText("value 0"), "value 0.");
    EXPECT_EQ(ErrorBoxText(""), ".");
}

namespace {

struct LinkFixture {
    TForm owner{"Form1"};
    TLabel parent{&owner, "about", &owner};
    FakeShell shell;
    LinkFixture() {
        TFont f = parent.Font();
        f.Size = 17;
        parent.SetFont(f);
    }
};

} // namespace

TEST(TURLLabel, DefaultsAtCreation) {
    LinkFixture fx;
    TURLLabel label(&fx.owner, "URLLabel1", &fx.parent);
    EXPECT_TRUE(label.URL().isEmpty());
    EXPECT_TRUE(label.EmailAddress.isEmpty());
    EXPECT_TRUE(label.EmailSubject.isEmpty());
    EXPECT_TRUE(label.ColorChange);
    EXPECT_EQ(label.HighlightFontColor, RGBColor(255, 0, 0));
    EXPECT_EQ(label.Font().Color, RGBColor(56, 121, 190));
    EXPECT_EQ(label.Font().Size, 17);
    EXPECT_TRUE(label.HandPointer);

    TURLLabel orphan(&fx.owner, "URLLabel9", nullptr);
    EXPECT_EQ(orphan.Font().Size, TFont().Size);
}

TEST(TURLLabel, CaptionTakesTheUrlWhenEmptyOrTheName) {
    LinkFixture fx;
    TURLLabel empty(&fx.owner, "URLLabel1", &fx.parent);
    empty.SetURL("https://example.org");
    EXPECT_EQ(empty.Caption(), "https://example.org");
    empty.SetURL("https://example.org/b");
    EXPECT_EQ(empty.Caption(), "https://example.org") << "a caption from an earlier URL stays";

    TURLLabel named(&fx.owner, "URLLabel2", &fx.parent);
    named.SetCaption("URLLabel2");
    named.SetURL("https://example.org");
    EXPECT_EQ(named.Caption(), "https://example.org");

    TURLLabel own(&fx.owner, "URLLabel3", &fx.parent);
    own.SetCaption("Our products");
    own.SetURL("https://example.org");
    EXPECT_EQ(own.Caption(), "Our products");
    EXPECT_EQ(own.URL(), "https://example.org");
}

TEST(TURLLabel, PointerEnterAndLeave) {
    LinkFixture fx;
    TURLLabel label(&fx.owner, "URLLabel1", &fx.parent);
    TFont f = label.Font();
    f.Color = RGBColor(1, 2, 3);
    label.SetFont(f);
    label.HighlightFontColor = RGBColor(0, 200, 0);

    label.MouseEnter();
    EXPECT_TRUE(label.Font().Underline);
    EXPECT_EQ(label.Font().Color, RGBColor(0, 200, 0));
    label.MouseLeave();
    EXPECT_FALSE(label.Font().Underline);
    EXPECT_EQ(label.Font().Color, RGBColor(1, 2, 3));

    label.ColorChange = false;
    label.MouseEnter();
    EXPECT_TRUE(label.Font().Underline);
    EXPECT_EQ(label.Font().Color, RGBColor(1, 2, 3));
    label.MouseLeave();
    EXPECT_FALSE(label.Font().Underline);
    EXPECT_EQ(label.Font().Color, RGBColor(1, 2, 3));
}

TEST(TURLLabel, ClickRunsTheClickEventBeforeTheShell) {
    LinkFixture fx;
    TURLLabel label(&fx.owner, "URLLabel1", &fx.parent);
    label.SetURL("https://example.org");
    QStringList seen;
    label.OnClick = [&](TComponent* s) {
        EXPECT_EQ(s, &label);
        seen << QStringLiteral("click, urls opened: %1").arg(fx.shell.urls.size());
    };
    label.Click(&fx.shell);
    EXPECT_EQ(seen, QStringList({"click, urls opened: 0"}));
    EXPECT_EQ(fx.shell.urls, QStringList({"https://example.org"}));
}

TEST(TURLLabel, ClickOpensTheEmailFirstThenTheUrl) {
    struct Case {
        const char *email, *subject, *url, *opened; // opened: null for nothing
    };
    const Case cases[] = {
        {"me@example.org", "", "https://example.org", "mailto:me@example.org"},
        {"me@example.org", "Hi there", "", "mailto:me@example.org?subject=Hi there"},
        // An "@" but no ".": falls through to the URL.
        {"me@localhost", "Hi", "https://example.org", "https://example.org"},
        // "@" or "." as first character does not count.
        {"@example.org", "", "https://example.org", "https://example.org"},
        {".me@example", "", "https://example.org", "https://example.org"},
        // A URL that looks like an e-mail address opens a new e-mail.
        {"", "", "sales@example.org", "mailto:sales@example.org"},
        {"", "Order", "sales@example.org", "mailto:sales@example.org?subject=Order"},
        {"", "Order", "https://example.org", "https://example.org"},
        {"", "", "www.example.org", "www.example.org"},
        {"", "", "", nullptr},
        {"me@localhost", "", "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.email) + " | " + c.subject + " | " + c.url);
        LinkFixture fx;
        TURLLabel label(&fx.owner, "URLLabel1", &fx.parent);
        label.EmailAddress = QString::fromLatin1(c.email);
        label.EmailSubject = QString::fromLatin1(c.subject);
        label.SetURL(QString::fromLatin1(c.url));
        label.Click(&fx.shell);
        if (c.opened) {
            EXPECT_EQ(fx.shell.urls, QStringList({QString::fromLatin1(c.opened)}));
        } else {
            EXPECT_TRUE(fx.shell.urls.isEmpty());
        }
        EXPECT_TRUE(fx.shell.folders.isEmpty());
    }
}
