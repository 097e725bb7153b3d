// The operator's requests as values: what a front end asks of its printers, checked and
// built once for the window and printset-cli alike.
//
// Failure convention of the front-end core: a check or builder returns TChecked<T>, the
// value or a TRefusal: its kind, which tells the front end how to show it (printset-cli:
// the exit code and where the lines go; the window: which box), and the text the front
// end shows as it stands. Nothing the operator types or chooses throws; only a failure
// of the system itself (memory) does. Where the two front ends word a refusal
// differently, the check takes the front end (TReasonFrontEnd) and gives its words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "engine/Job.h"
#include "report/JobReason.h"

namespace printset {

enum class TRefusalKind {
  // An option or a box holds what the operation does not take (printset-cli: exit 64
  // with a pointer to --help; the window: an error box).
  Usage,
  // An input file cannot be read, or is too large (printset-cli: exit 65, "nothing was
  // sent"; the window: an error box).
  Unreadable,
  // A firmware image that is not one: "Invalid file" (the window's box, printset-cli's
  // first line), Detail saying why.
  InvalidImage,
  // The logo set stopped at a picture that failed: the window's "ERROR" box, its reason
  // beneath.
  IncompleteLogoSet,
  // logo.bin could not be written (printset-cli: exit 65; the window: an error box).
  CannotSave,
};

struct TRefusal {
  TRefusalKind Kind = TRefusalKind::Usage;
  std::string Text;    // what the front end shows, without "printset-cli: " or a full stop
  std::string Detail;  // a further line for printset-cli's stderr; empty where none
};

// A value, or why there is none.
template <typename T>
class TChecked {
 public:
  TChecked(T value) : Result(std::move(value)) {}  // NOLINT: a value converts implicitly
  TChecked(TRefusal refusal) : Result(std::move(refusal)) {}  // NOLINT: so does a refusal

  bool Ok() const { return Result.index() == 0; }
  explicit operator bool() const { return Ok(); }
  // The value; only when Ok().
  const T& Value() const { return std::get<0>(Result); }
  T& Value() { return std::get<0>(Result); }
  const T& operator*() const { return Value(); }
  const T* operator->() const { return &Value(); }
  // The refusal; only when !Ok().
  const TRefusal& Refusal() const { return std::get<1>(Result); }

 private:
  std::variant<T, TRefusal> Result;
};

// One input of an operation as it was sent, for the station record: where it came from
// (an absolute path), its size and SHA-256.
struct TRecordInput {
  std::string Name;
  uint64_t Size = 0;
  std::string Sha256;  // 64 lower-case hex digits; empty when the system's digest failed
};

class TRequestMaker;

// One operation the operator asked for, ready for the worker: built only by the
// builders of the core (SetRequest.h, TransferRequests.h, LogoRequest.h, LinkTarget.h).
class TRequest {
 public:
  // The operation as --json and the station record name it: "set", "program",
  // "download", "logo download" or "detect".
  const std::string& Operation() const { return Name; }
  // What every printer is given (its link target still to be set).
  const TJob& Job() const { return Work; }
  // What the operation carries to each printer, in bytes.
  uint64_t Bytes() const { return Size; }
  // A line added to the notice of the first Ctrl-C; empty where stopping leaves the
  // printer as it was.
  const std::string& StopMessage() const { return Stopping; }
  // The files it sends, for the station record.
  const std::vector<TRecordInput>& Inputs() const { return Files; }
  // SET: the rate the printer listens at once it took the block; 0 when it keeps the
  // rate it was found at (and for every other operation).
  int32_t RateAfter() const { return NewRate; }

 private:
  friend class TRequestMaker;
  TRequest() = default;

  std::string Name;
  TJob Work;
  uint64_t Size = 0;
  std::string Stopping;
  std::vector<TRecordInput> Files;
  int32_t NewRate = 0;
};

// The SHA-256 and absolute path of `bytes` read from `name`: the station record's
// account of an input. Never fails (an empty digest when the system's fails).
TRecordInput RecordInput(const std::string& name, const std::vector<uint8_t>& bytes);

}  // namespace printset
