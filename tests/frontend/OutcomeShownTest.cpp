// What the window shows when an operation or the search of the rates has ended: title,
// the lines beneath, sound, the search offer and the rate the printer now listens at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ResultCodes.h"
#include "RecordingView.h"
#include "frontend/ShownOutcome.h"
#include "frontend/ShownRefusal.h"

namespace printset {
namespace {

TJobOutcome Ended(uint8_t resultCode) {
  TJobOutcome outcome;
  outcome.ResultCode = resultCode;
  return outcome;
}

TLinkTarget At(const std::string& port, int32_t rate = 9600) {
  TLinkTarget target;
  target.PortName = port;
  target.BaudRate = rate;
  return target;
}

struct TRow {
  const char* What;
  TJobOutcome Outcome;
  TLinkTarget Target;
  int32_t NewBaudRate;  // SET's rate; 0: another operation
  bool Search;          // the outcome of the search of the rates
  TShownOutcome Shown;  // what must be shown
};

TEST(OutcomeShown, DecidesTitleReasonSoundSearchAndRate) {
  const std::string moved = "The printer now listens at 115200 baud; the BAUD RATE box at the top is set to it.";
  TJobOutcome unanswered = Ended(kResultNoValidReply);
  TJobOutcome identified = Ended(kResultNoValidReply);
  identified.DeviceIdentity = "PRN 7401";
  TJobOutcome lost = Ended(kResultNoValidReply);
  lost.LinkFailure = {TLineFailureKind::PortLost, "Input/output error"};
  TJobOutcome unsaved = Ended(kResultOk);
  unsaved.TraceSaveError = "/ro/debug.log: Permission denied";
  TJobOutcome unsavedError = unanswered;
  unsavedError.TraceSaveError = unsaved.TraceSaveError;
  TJobOutcome found = Ended(kResultOk);
  found.BaudRate = 38400;
  TJobOutcome everyRate = unanswered;
  everyRate.EveryRateTried = true;
  TJobOutcome rejectedAt = Ended(kResultIdentityRejected);
  rejectedAt.DeviceIdentity = "XYZ";
  rejectedAt.BaudRate = 19200;
  TJobOutcome notOpened = Ended(kResultPortNotOpened);
  notOpened.OpenError = "No such file or directory";
  TLinkTarget mapped = At("COM3");
  mapped.PortMap = {{"COM3", "/dev/ttyS9"}};
  const std::string serialHint =
      "no valid reply from the printer (result code 3)\nno printer answered on /dev/pts/7: check that it is switched "
      "on, its cable, the port and the baud rate (Search other rates tries every rate)";
  const std::string trace = "the trace could not be saved: /ro/debug.log: Permission denied";

  const std::vector<TRow> rows = {
      {"OK", Ended(kResultOk), At("/dev/pts/7"), 0, false, {"OK", "", {}, kOkSound, false, 0}},
      {"SET at the same rate", Ended(kResultOk), At("/dev/pts/7"), 9600, false, {"OK", "", {}, kOkSound, false, 0}},
      {"SET moves the rate", Ended(kResultOk), At("/dev/pts/7"), 115200, false,
       {"OK", moved, {}, kOkSound, false, 115200}},
      {"SET over UDP has no rate to follow", Ended(kResultOk), At("TCP/IP:10.0.0.5"), 115200, false,
       {"OK", "", {}, kOkSound, false, 0}},
      {"SET that failed moves nothing", unanswered, At("/dev/pts/7"), 115200, false,
       {"ERROR", serialHint, {}, kErrorSound, true, 0}},
      {"no answer on a serial line: the search is offered", unanswered, At("/dev/pts/7"), 0, false,
       {"ERROR", serialHint, {}, kErrorSound, true, 0}},
      {"no answer over UDP: never", unanswered, At("TCP/IP:10.0.0.5"), 0, false,
       {"ERROR",
        "no valid reply from the printer (result code 3)\nno printer answered at TCP/IP:10.0.0.5: check the printer's "
        "address, that it is switched on, and the network",
        {}, kErrorSound, false, 0}},
      {"no answer after identify: not the rate", identified, At("/dev/pts/7"), 0, false,
       {"ERROR", "no valid reply from the printer (result code 3)", {}, kErrorSound, false, 0}},
      {"the port lost: not the rate", lost, At("/dev/pts/7"), 0, false,
       {"ERROR",
        "no valid reply from the printer (result code 3)\nthe port was lost: Input/output error\ncheck that its "
        "cable or adapter is still plugged in",
        {}, kErrorSound, false, 0}},
      {"the port named as mapped", notOpened, mapped, 0, false,
       {"ERROR", "the port could not be opened (result code 1)\n/dev/ttyS9: No such file or directory", {},
        kErrorSound, false, 0}},
      {"a trace not saved after OK", unsaved, At("/dev/pts/7"), 0, false, {"OK", "", {trace}, kOkSound, false, 0}},
      {"a trace not saved after ERROR", unsavedError, At("/dev/pts/7"), 0, false,
       {"ERROR", serialHint, {trace}, kErrorSound, true, 0}},
      {"search found the printer", found, At("/dev/pts/7"), 0, true,
       {"Printer found at 38400 baud", "The BAUD RATE box at the top is set to it: press the button again.", {},
        kOkSound, false, 38400}},
      {"search found nothing", everyRate, mapped, 0, true,
       {"ERROR", "no printer answered on /dev/ttyS9 at any rate", {}, kErrorSound, false, 0}},
      {"search found a printer it does not accept", rejectedAt, At("/dev/pts/7"), 0, true,
       {"ERROR",
        "the printer's identity is not accepted (result code 5)\nthe printer answered as \"XYZ\"; accepted are "
        "\"PRN 7401\", \"PRN 74XX\"\nIt answered at 19200 baud.",
        {}, kErrorSound, false, 0}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.What);
    const TShownOutcome shown =
        row.Search ? SearchOutcome(row.Outcome, row.Target) : OperationOutcome(row.Outcome, row.Target, row.NewBaudRate);
    EXPECT_EQ(shown.Title, row.Shown.Title);
    EXPECT_EQ(shown.Reason, row.Shown.Reason);
    EXPECT_EQ(shown.Notes, row.Shown.Notes);
    EXPECT_EQ(shown.Sound, row.Shown.Sound);
    EXPECT_EQ(shown.OfferSearch, row.Shown.OfferSearch);
    EXPECT_EQ(shown.PrinterRate, row.Shown.PrinterRate);
  }
}

TEST(OutcomeShown, TheNotesStandBeneathTheReason) {
  const struct {
    const char* Reason;
    std::vector<std::string> Notes;
    const char* Beneath;
  } rows[] = {{"", {}, ""},
              {"why", {}, "why"},
              {"", {"note"}, "note"},
              {"why\nmore", {"note", "other"}, "why\nmore\nnote\nother"}};
  for (const auto& row : rows) {
    TShownOutcome shown;
    shown.Reason = row.Reason;
    shown.Notes = row.Notes;
    EXPECT_EQ(shown.Beneath(), row.Beneath) << row.Reason;
  }
  EXPECT_EQ(RecordWarningNotes("warning: the station record was not written: /s/runs.jsonl: Read-only file system\n"
                               "warning: COM1: the trace was not kept in traces/: No space left on device\n"),
            (std::vector<std::string>{"the station record was not written: /s/runs.jsonl: Read-only file system",
                                      "COM1: the trace was not kept in traces/: No space left on device"}));
  EXPECT_TRUE(RecordWarningNotes("").empty());
}

// A request refused before anything was sent: which box, and its words.
TEST(OutcomeShown, ARefusalIsShownInItsBox) {
  const struct {
    TRefusal Refusal;
    const char* Seen;
  } rows[] = {
      {{TRefusalKind::InvalidImage, "Invalid file", "/x/a.bin is not a valid firmware image"},
       "error [Print Tool] Invalid file"},
      {{TRefusalKind::IncompleteLogoSet, "a picture of the list failed, so the logo set is incomplete; nothing was sent", ""},
       "message ERROR | a picture of the list failed, so the logo set is incomplete; nothing was sent"},
      {{TRefusalKind::Usage, "'abc' is not a valid integer value", ""}, "error [] 'abc' is not a valid integer value."},
      {{TRefusalKind::Unreadable, "/x/fifo: not a regular file", ""}, "error [] /x/fifo: not a regular file."},
      {{TRefusalKind::CannotSave, "Cannot create file \"/s/logo.bin\". Permission denied.", ""},
       "error [] Cannot create file \"/s/logo.bin\". Permission denied."},
  };
  for (const auto& row : rows) {
    TRecordingView view;
    ShowRefusal(view, row.Refusal);
    EXPECT_EQ(view.Seen, std::vector<std::string>{row.Seen});
  }
}

}  // namespace
}  // namespace printset
