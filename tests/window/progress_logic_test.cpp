// The progress window's behaviour against a fake view: reports from a worker
// thread, the result boxes, the abort question, the status line, and reports
// left over from an ended job.
#include "window/progress_logic.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "fake_views.h"
#include "messages/messages.h"

namespace vrellix {
namespace {

using testing::FakeProgressView;
using testing::FakeUser;
using testing::ShownBox;

// Reports from a thread of its own, as the worker does.
void ReportFromWorker(ProgressLogic& progress, const std::function<void(JobReporter&)>& reports) {
  std::thread worker([&]() { reports(progress); });
  worker.join();
}

struct ProgressRig {
  FakeUser user;
  FakeProgressView view{user};
  ProgressLogic& logic = view.Logic();
};

TEST(ProgressLogic, ReportsBeforeTheWindowOpensReachItAndTheResultClosesIt) {
  for (const bool success : {true, false}) {
    SCOPED_TRACE(success ? "success" : "failure");
    ProgressRig rig;
    rig.logic.BeginJob();
    ReportFromWorker(rig.logic, [success](JobReporter& reporter) {
      reporter.SetRange(7);
      reporter.SetStatus("トラック情報入力中[ 1／2 ]");
      reporter.SetPosition(3);
      EXPECT_TRUE(reporter.PostResult(success));
    });
    rig.user.AnswerBox(Answer::kOk);
    EXPECT_EQ(rig.logic.DoModal(), success);
    rig.logic.EndJob();
    const ShownBox result = success ? ShownBox{messages::kJobSucceeded, MessageIcon::kInformation}
                                    : ShownBox{messages::kJobFailedBox, MessageIcon::kError};
    EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{result});
    EXPECT_EQ(rig.view.Range(), 7);
    EXPECT_EQ(rig.view.Position(), 3);
    EXPECT_EQ(rig.logic.Status(), "トラック情報入力中[ 1／2 ]");
    EXPECT_FALSE(rig.view.IsOpen());
    EXPECT_EQ(rig.user.Unexpected(), 0);
  }
}

// "処理内容" and "中断" as the window opens; then the worker's text, set once
// however many ticks pass. The close box asks as 中断 does.
TEST(ProgressLogic, StatusLineFollowsTheWorkerAndIsSetOnlyWhenItChanges) {
  ProgressRig rig;
  rig.logic.BeginJob();
  rig.logic.SetStatus("よみ入力中");
  int ticksSeen = 0;
  rig.user.InProgress([](FakeProgressView& view) { view.ClickCloseBox(); }, [&]() { return ++ticksSeen > 5; });
  rig.user.AnswerBox(Answer::kYes);
  EXPECT_FALSE(rig.logic.DoModal());
  rig.logic.EndJob();
  EXPECT_EQ(rig.view.StatusTexts(), (std::vector<std::string>{messages::kProgressStatusLabel, "よみ入力中"}));
  EXPECT_EQ(rig.view.AbortText(), messages::kAbortButton);
  EXPECT_EQ(rig.user.Texts(), std::vector<std::string>{messages::kAbortQuestion});
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

// Every run starts from an empty bar; the item line names what the worker's
// status stands for, and the time line counts up the elapsed time and down the
// time left, on the window's clock, until the result (none left after success),
// which also disables 中断.
TEST(ProgressLogic, EachRunStartsAtZeroAndShowsTheItemAndTimes) {
  ProgressRig rig;
  std::int64_t now = 0;
  rig.logic.SetTimeSource([&] { return now; });
  JobTimeline timeline;
  timeline.steps = {{"タイトル名入力中", "Album", 0}, {messages::TrackStatus(1, 1), "トラック2: Song", 50000}};
  timeline.totalMs = 125000;
  rig.view.SetPosition(4);  // where the last run ended
  now = 1000000;
  rig.logic.BeginJob(timeline);
  int positionAtOpen = -1;
  const auto step = [&](std::function<void()> act) {
    rig.user.InProgress([act](FakeProgressView&) { act(); });
  };
  step([&] { positionAtOpen = rig.view.Position(); });
  step([&] { rig.logic.SetStatus("タイトル名入力中"); });
  step([&] {
    now += 61000;  // late by 11 s: the title's step is used up
    rig.logic.SetStatus(messages::TrackStatus(1, 1));
  });
  step([&] { now += 4000; });
  step([&] {
    rig.logic.PostResult(true);
    now += 2000;  // before it is handled
  });
  rig.user.AnswerBox(Answer::kOk);  // the timer ticks while it is up
  rig.logic.DoModal();
  rig.logic.EndJob();
  EXPECT_FALSE(rig.view.AbortEnabled());
  EXPECT_EQ(positionAtOpen, 0);
  EXPECT_EQ(rig.view.ItemTexts(), (std::vector<std::string>{"", "Album", "トラック2: Song"}));
  EXPECT_EQ(rig.view.TimeTexts(), (std::vector<std::string>{messages::ProgressTimes("0:00", "2:05"),
                                                            messages::ProgressTimes("1:01", "1:15"),
                                                            messages::ProgressTimes("1:05", "1:11"),
                                                            messages::ProgressTimes("1:07", "0:00")}));
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

TEST(ProgressLogic, AbortQuestionNoGoesOnYesCloses) {
  ProgressRig rig;
  rig.logic.BeginJob();
  for (const Answer answer : {Answer::kNo, Answer::kYes}) {
    rig.user.InProgress([](FakeProgressView& view) { view.ClickAbort(); });
    rig.user.AnswerBox(answer);
  }
  EXPECT_FALSE(rig.logic.DoModal());
  rig.logic.EndJob();
  const ShownBox question{messages::kAbortQuestion, MessageIcon::kWarning, MessageButtons::kYesNo};
  EXPECT_EQ(rig.user.Boxes(), (std::vector<ShownBox>{question, question}));
  EXPECT_TRUE(rig.user.Done());
}

// A result that arrives while the question is up is handled inside it: its box
// closes the window, and the answer to the question then changes nothing.
TEST(ProgressLogic, ResultArrivingDuringTheAbortQuestionClosesTheWindow) {
  ProgressRig rig;
  rig.logic.BeginJob();
  rig.user.InProgress([&](FakeProgressView& view) {
    rig.logic.PostResult(true);
    view.ClickAbort();
  });
  rig.user.AnswerBox(Answer::kOk);   // the success box, on top
  rig.user.AnswerBox(Answer::kYes);  // then the question
  EXPECT_TRUE(rig.logic.DoModal());
  rig.logic.EndJob();
  EXPECT_EQ(rig.user.Texts(), (std::vector<std::string>{messages::kAbortQuestion, messages::kJobSucceeded}));
  EXPECT_EQ(rig.user.Unexpected(), 0);
}

TEST(ProgressLogic, ReportsOfAnEndedJobAreDropped) {
  ProgressRig rig;
  rig.logic.BeginJob();
  ReportFromWorker(rig.logic, [](JobReporter& reporter) {
    reporter.SetRange(9);
    reporter.SetPosition(9);
    reporter.PostResult(true);
  });
  rig.logic.EndJob();  // the job was stopped before its reports were handled
  rig.logic.BeginJob();
  ReportFromWorker(rig.logic, [](JobReporter& reporter) {
    reporter.SetRange(2);
    reporter.SetPosition(1);
  });
  rig.user.InProgress([](FakeProgressView& view) { view.ClickCloseBox(); },
                      [&]() { return rig.view.Range() == 2; });
  rig.user.AnswerBox(Answer::kYes);
  EXPECT_FALSE(rig.logic.DoModal());
  rig.logic.EndJob();
  EXPECT_EQ(rig.user.Texts(), std::vector<std::string>{messages::kAbortQuestion});  // no stale result
  EXPECT_EQ(rig.view.Position(), 1);
}

// The worker never waits for the window thread: its warning is posted, and
// shown even after its job has ended (a forced stop comes then). On the window
// thread it is shown at once.
TEST(ProgressLogic, WarningsAreShownOnTheWindowThread) {
  ProgressRig rig;
  rig.logic.BeginJob();
  ReportFromWorker(rig.logic, [](JobReporter& reporter) { reporter.ShowWarning(messages::kForcedStop); });
  rig.logic.EndJob();
  EXPECT_TRUE(rig.user.Boxes().empty());
  rig.user.AnswerBox(Answer::kOk);
  rig.view.RunPosted();
  const ShownBox warning{messages::kForcedStop, MessageIcon::kWarning};
  EXPECT_EQ(rig.user.Boxes(), std::vector<ShownBox>{warning});
  rig.user.AnswerBox(Answer::kOk);
  rig.logic.ShowWarning(messages::kForcedStop);
  EXPECT_EQ(rig.user.Boxes(), (std::vector<ShownBox>{warning, warning}));
  EXPECT_TRUE(rig.user.Done());
}

}  // namespace
}  // namespace vrellix
