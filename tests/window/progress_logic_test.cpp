// The progress window's behaviour against a fake view: reports from a worker
// thread, the result boxes, the abort question, the status line, and reports
// left over from an ended job.
#include "window/progress_logic.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "fake_views.h"
#include "messages/messages.h"
#include "timing/virtual_clock.h"

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

// Every run starts from an empty bar over the keys the job plans; the item line
// names what the worker's status stands for; the bar and the times follow the
// job's progress on the job's own clock, and the job's section reports leave
// the bar alone. Success fills the bar, leaves no time and disables 中断.
TEST(ProgressLogic, EachRunStartsAtZeroAndFollowsTheJobsProgress) {
  ProgressRig rig;
  VirtualClock clock;
  // 10 keys of 159 ms at no delay, a minute of pauses and the line's settle time: 62.59 s.
  JobProgress progress(JobPlan{{}, 10, 60000}, 0, clock);
  JobTimeline timeline;
  timeline.steps = {{"タイトル名入力中", "Album"}, {messages::TrackStatus(2, 3), "トラック2: Song"}};
  rig.view.SetPosition(4);  // where the last run ended
  rig.logic.BeginJob(timeline, &progress);
  std::vector<int> positions;
  const auto step = [&](std::function<void()> act) {
    rig.user.InProgress([act, &positions](FakeProgressView& view) {
      positions.push_back(view.Position());
      act();
    });
  };
  step([&] {
    rig.logic.SetStatus("タイトル名入力中");
    rig.logic.SetRange(3);
    rig.logic.SetPosition(1);
  });
  step([&] {
    for (int key = 0; key < 4; ++key) {
      clock.Sleep(159, nullptr);
      progress.OnKey(0, KeyResult::kAcknowledged);
    }
    rig.logic.SetStatus(messages::TrackStatus(2, 3));
  });
  step([&] {
    progress.OnPause(60000);
    clock.Sleep(30000, nullptr);
  });
  step([&] { rig.logic.PostResult(true); });
  rig.user.AnswerBox(Answer::kOk);  // the timer ticks while it is up
  rig.logic.DoModal();
  rig.logic.EndJob();
  EXPECT_FALSE(rig.view.AbortEnabled());
  EXPECT_EQ(positions, (std::vector<int>{0, 0, 4, 4}));
  EXPECT_EQ(rig.view.Range(), 10);
  EXPECT_EQ(rig.view.Position(), 10);
  EXPECT_EQ(rig.view.ItemTexts(), (std::vector<std::string>{"", "Album", "トラック2: Song"}));
  EXPECT_EQ(rig.view.TimeTexts(), (std::vector<std::string>{messages::ProgressTimes("0:00", "1:03"),
                                                            messages::ProgressTimes("0:01", "1:02"),
                                                            messages::ProgressTimes("0:31", "0:32"),
                                                            messages::ProgressTimes("0:31", "0:00")}));
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
