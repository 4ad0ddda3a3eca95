// The history session: the one owner of the file, opened once whoever asks
// first, holding the fault, the periods and the selection for both pages.

#include "history/historysession.h"

#include "history/historysamples.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString SessionFile() {
    return TestEnv::DataDir() + QStringLiteral("/session/history.sqlite");
}

struct Heard {
    int calls = 0, periodCalls = 0;
    THistorySession::Listener Listener() {
        return [this](bool periods) {
            ++calls;
            periodCalls += periods ? 1 : 0;
        };
    }
};

TEST(HistorySession, OpensOnceForEveryAskerAndTellsItsListeners) {
    {
        THistoryStore store(SessionFile());
        store.Open();
        store.Add(SamplePeriod(QDate(2026, 1, 1), QDate(2026, 2, 1), 0));
        store.Add(SamplePeriod(QDate(2026, 2, 1), QDate(2026, 3, 1), 1));
    }
    THistorySession session(SessionFile());
    Heard a, b;
    session.AddListener(a.Listener());
    const int keyB = session.AddListener(b.Listener());
    EXPECT_FALSE(session.Opened());
    EXPECT_FALSE(session.Store().IsOpen());

    // One page opens it; the other finds it open with the periods read.
    THistoryStore& store = session.OpenStore();
    EXPECT_TRUE(session.EnsureOpen());
    EXPECT_TRUE(session.Opened());
    EXPECT_EQ(&store, &session.Store());
    ASSERT_EQ(session.Periods().size(), 2u);
    EXPECT_EQ(session.Periods()[0].from, QDate(2026, 2, 1)); // newest first
    EXPECT_EQ(session.Fault(), HistoryFault::None);
    EXPECT_EQ(a.calls, 1);
    EXPECT_EQ(a.periodCalls, 1);

    session.RemoveListener(keyB);
    store.Add(SamplePeriod(QDate(2026, 3, 1), QDate(2026, 4, 1), 2));
    session.Reload();
    EXPECT_EQ(session.Periods().size(), 3u);
    EXPECT_EQ(a.calls, 2);
    EXPECT_EQ(b.calls, 1);

    // A fault met in use keeps the periods shown, closes the file and is
    // told without a change of periods.
    session.Fail(EHistoryError(HistoryFault::Damaged, QStringLiteral("gone bad")));
    EXPECT_EQ(session.Fault(), HistoryFault::Damaged);
    EXPECT_EQ(session.FaultText(), "gone bad");
    EXPECT_FALSE(session.Store().IsOpen());
    EXPECT_EQ(session.Periods().size(), 3u);
    EXPECT_EQ(a.calls, 3);
    EXPECT_EQ(a.periodCalls, 2);

    session.Select(THistorySession::DatePair{QDate(2026, 1, 1), QDate(2026, 2, 1)});
    ASSERT_TRUE(session.Selected().has_value());
    EXPECT_EQ(session.Selected()->second, QDate(2026, 2, 1));
}

TEST(HistorySession, AFileThatCannotBeOpenedIsAFaultForEveryAsker) {
    QDir().mkpath(QFileInfo(SessionFile()).absolutePath());
    {
        QFile junk(SessionFile());
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("not a database");
    }
    THistorySession session(SessionFile());
    Heard heard;
    session.AddListener(heard.Listener());
    EXPECT_FALSE(session.EnsureOpen());
    EXPECT_EQ(session.Fault(), HistoryFault::Damaged);
    EXPECT_EQ(heard.calls, 1);
    try {
        session.OpenStore();
        ADD_FAILURE() << "a damaged file was handed out";
    } catch (const EHistoryError& e) {
        EXPECT_EQ(e.Fault(), HistoryFault::Damaged);
        EXPECT_EQ(e.Message(), session.FaultText());
    }
    // A new history clears the fault; the damaged file is kept beside it.
    const QString kept = session.StartNewHistory();
    EXPECT_TRUE(QFile::exists(kept));
    EXPECT_EQ(session.Fault(), HistoryFault::None);
    EXPECT_TRUE(session.Store().IsOpen());
    EXPECT_TRUE(session.Periods().empty());
}

} // namespace
