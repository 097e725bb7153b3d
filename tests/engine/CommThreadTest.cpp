// The worker's life and its reports, apart from any particular job.
#include "EngineFixture.h"

#include <atomic>
#include <thread>

namespace printset {
namespace {

class CommThreadTest : public TEngineTest {};

constexpr double kMsInDays = 1.0 / 86400000.0;

// The first report always goes out; later ones only 70 ms after the last one posted, or
// when they reach the total (past it still counts).
TEST_F(CommThreadTest, ProgressIsThrottledExceptForTheFirstAndTheReportThatReachesTheTotal) {
  struct TRow {
    int SinceLastPostMs;  // set before the report; -1: no report posted yet
    int32_t Done;
    bool Posted;
  };
  const TRow rows[] = {{-1, 1, true}, {0, 10, false}, {0, 20, false}, {0, 100, true},
                       {0, 150, true}, {75, 30, true}, {60, 40, false}};
  size_t posts = 0;
  for (const TRow& row : rows) {
    if (row.SinceLastPostMs >= 0) Probe().LastProgressPost() = DateTimeNow() - row.SinceLastPostMs * kMsInDays;
    Probe().ReportProgress("", row.Done, 100, false);
    posts += row.Posted;
    ASSERT_EQ(Observer.ProgressCalls().size(), posts) << row.Done;
    if (row.Posted) {
      EXPECT_EQ(Observer.ProgressCalls().back().Done, row.Done);
      EXPECT_EQ(Observer.ProgressCalls().back().Total, 100);
    }
  }
}

TEST_F(CommThreadTest, StatusFormShowsTheTextAndPostsNothing) {
  const TDateTime before = Probe().LastProgressPost();
  Probe().ReportProgress("DOWNLOAD logo.bin", 0, 0, true);
  EXPECT_EQ(Observer.Statuses(), std::vector<std::string>{"DOWNLOAD logo.bin"});
  EXPECT_TRUE(Observer.ProgressCalls().empty());
  EXPECT_EQ(Probe().LastProgressPost(), before);
}

TEST_F(CommThreadTest, DestroyedBeforeAnyJob) {
  Thread.reset();
  EXPECT_TRUE(Observer.Calls().empty());
}

TEST_F(CommThreadTest, DestroyedWhileParkedRunsNoFurtherJob) {
  Inputs.Block.clear();
  EXPECT_EQ(Run(JobSetParameters), 0);
  const size_t requests = Sim.RequestCount();
  const size_t posted = Observer.Calls().size();
  Thread.reset();
  EXPECT_EQ(Sim.RequestCount(), requests);
  EXPECT_EQ(Observer.Calls().size(), posted);
}

TEST_F(CommThreadTest, JobCodeZeroRunsNothingButCompletes) {
  EXPECT_EQ(Run(0), 0);
  EXPECT_EQ(Sim.RequestCount(), 0u);
  EXPECT_EQ(ReadText("debug.log"), "");
  EXPECT_EQ(Observer.Calls().back().Kind, TRecordingObserver::TKind::Finished);
}

// An observer that looks, at each job's end, at what its owner would then find.
class TEndCheckingObserver : public TRecordingObserver {
 public:
  TCommThread* Thread = nullptr;
  std::vector<std::string> TraceAtEnd;  // the trace file as Finished found it
  std::vector<bool> RunningAtEnd;       // JobRunning() inside Finished

  void Finished(const TJobOutcome& outcome) override {
    TraceAtEnd.push_back(ReadTextFile(TraceFilePath()));
    RunningAtEnd.push_back(Thread->JobRunning());
    TRecordingObserver::Finished(outcome);
  }
};

// The outcome is the worker's last word on a job: the trace is saved by then and the
// worker takes the next job, so that an owner may show the trace or start another job.
TEST_F(CommThreadTest, FinishedComesAfterTheTraceIsSavedWithTheWholeOutcome) {
  TEndCheckingObserver observer;
  observer.Folder = Folder;
  TCommThread thread(observer);
  observer.Thread = &thread;
  Inputs.Block.clear();
  for (size_t i = 1; i <= 2; ++i) {
    ASSERT_TRUE(thread.StartJob(Inputs.Make(JobSetParameters))) << i;
    ASSERT_TRUE(observer.WaitForFinished(i));
  }
  Inputs.Target.PortName = Folder + "absent";
  ASSERT_TRUE(thread.StartJob(Inputs.Make(JobSetParameters)));
  ASSERT_TRUE(observer.WaitForFinished(3));

  ASSERT_EQ(observer.TraceAtEnd.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_FALSE(observer.RunningAtEnd[i]) << i;
    const std::string& trace = observer.TraceAtEnd[i];
    ASSERT_GE(trace.size(), 2u) << i;
    const size_t lastLine = trace.rfind("\r\n", trace.size() - 3);
    EXPECT_EQ(trace.compare(lastLine == std::string::npos ? 0 : lastLine + 2, 6, "CLOSE "), 0) << trace;
    EXPECT_EQ(trace.find("OPEN", trace.find("OPEN") + 1), std::string::npos) << "one job's trace: " << trace;
  }
  const TJobOutcome outcome = observer.LastOutcome();
  EXPECT_EQ(outcome.ResultCode, kResultPortNotOpened);
  EXPECT_EQ(outcome.OpenError, "No such file or directory");
  EXPECT_EQ(outcome.LastTraceLine + "\r\n", observer.TraceAtEnd[2]);
}

// One worker, one job after another, each for a printer at another rate: every job opens
// at its own target's rate, whatever the job before it used or found.
TEST_F(CommThreadTest, EachJobOpensAtItsOwnTargetsRate) {
  struct TRow {
    int32_t Listening;  // the rate the printer answers at
    int32_t Target;     // the rate the job is for
    uint8_t Result;
  };
  const TRow rows[] = {
      {9600, 9600, kResultOk},
      {19200, 19200, kResultOk},
      {19200, 9600, kResultNoValidReply},
      {4800, 4800, kResultOk},
      {9600, 9600, kResultOk},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Target);
    Sim.SetListeningRate(row.Listening);
    Inputs.Target.BaudRate = row.Target;
    EXPECT_EQ(Run(JobIdentifyPrinter), row.Result);
    EXPECT_EQ(Outcome().BaudRate, row.Result == kResultOk ? row.Target : 0);
  }
}

TEST_F(CommThreadTest, UnwritableTraceFileKeepsTheOutcome) {
  Observer.Folder = Folder + "missing-folder/";
  Inputs.Block.clear();
  EXPECT_EQ(Run(JobSetParameters), 0);
  EXPECT_NE(Outcome().TraceSaveError.find("No such file or directory"), std::string::npos);
}

TEST_F(CommThreadTest, ManyJobsBackToBackNeverLoseAWakeUp) {
  Inputs.Target.PortName = Folder + "absent";
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(Thread->StartJob(Inputs.Make(JobSetParameters))) << i;
    ASSERT_TRUE(Observer.WaitForFinished(static_cast<size_t>(i) + 1)) << i;
    EXPECT_EQ(Outcome().ResultCode, kResultPortNotOpened);
  }
}

// A stop asked for ends only the job it was asked of.
TEST_F(CommThreadTest, EachJobsEndAndStopBelongToThatJob) {
  TSimFaults faults;
  faults.Script[0].DelayMs = 300;  // the identify reply of the first job
  Sim.SetFaults(faults);
  ASSERT_TRUE(Thread->StartJob(Inputs.Make(JobSetParameters)));
  Thread->RequestStop();
  EXPECT_EQ(Run(JobSetParameters, false), kResultCancelled);
  const std::string trace = ReadText("debug.log");
  EXPECT_EQ(trace.find("Send", trace.find("Rec:")), std::string::npos) << "a request went out after the stop";
  EXPECT_EQ(trace.compare(trace.rfind("\r\n", trace.size() - 3) + 2, 9, "CANCELLED"), 0) << trace;

  EXPECT_EQ(Run(JobSetParameters), kResultOk) << "the stop outlived its job";
}

// A front end's signal thread lets go of the line at any moment, also while the worker
// opens or closes it: the jobs go on unharmed, and a release while a job holds the line
// lets others open it. Run under ThreadSanitizer (make test-tsan), this is where a
// release that reads the port's handle unguarded shows as a race.
TEST_F(CommThreadTest, LineReleasedFromAnotherThreadWhileJobsOpenAndCloseIt) {
  Inputs.Block.clear();
  std::atomic<bool> jobsOver{false};
  std::thread releaser([&] {
    while (!jobsOver.load()) {
      Thread->ReleaseLine();
      std::this_thread::yield();
    }
  });
  for (int i = 0; i < 20; ++i) EXPECT_EQ(Run(JobSetParameters), kResultOk) << i;
  jobsOver.store(true);
  releaser.join();

  // The next identify reply comes late: the job holds the line meanwhile.
  const size_t requests = Sim.RequestCount();
  TSimFaults faults;
  faults.Script[requests].DelayMs = 300;
  Sim.SetFaults(faults);
  ASSERT_TRUE(Thread->StartJob(Inputs.Make(JobSetParameters)));
  ASSERT_TRUE(Sim.WaitForRequests(requests + 1, 20000));
  EXPECT_TRUE(Sim.LineExclusive()) << "the job holds the line for itself";
  Thread->ReleaseLine();
  EXPECT_FALSE(Sim.LineExclusive()) << "the release did not reach the open line";
  EXPECT_EQ(Run(JobSetParameters, false), kResultOk);
}

}  // namespace
}  // namespace printset

namespace printset {
namespace {

// The link session's steps, driven one by one from the test while the worker is idle.
class LinkSessionTest : public TEngineTest {};

TEST_F(LinkSessionTest, RateThePortRefusesAfterThePrinterAcceptedItIsCodeFour) {
  ASSERT_TRUE(Probe().OpenLink({Sim.DevicePath(), 9600, {}, {}, {}}));
  EXPECT_FALSE(Probe().SwitchBaudRate(-19200));
  EXPECT_EQ(Probe().ResultCode(), kResultLocalBaudFailed);
  EXPECT_EQ(Commands(), (std::vector<uint16_t>{0x20, 0x2B})) << "the printer is asked first";
  Probe().CloseLink();
}

TEST_F(LinkSessionTest, SwitchToTheRateInUseSendsNothing) {
  ASSERT_TRUE(Probe().OpenLink({Sim.DevicePath(), 19200, {}, {}, {}}));
  EXPECT_TRUE(Probe().SwitchBaudRate(19200));
  EXPECT_EQ(Commands(), std::vector<uint16_t>{0x20});
  EXPECT_EQ(Sim.LineBaudRate(), 19200);
  EXPECT_TRUE(Probe().SwitchBaudRate(57600));
  EXPECT_EQ(Sim.LineBaudRate(), 57600) << "the port follows once the printer has answered";
  Probe().CloseLink();
  EXPECT_EQ(Probe().ResultCode(), kResultOk);
}

}  // namespace
}  // namespace printset
