// Transfer progress on a terminal: one line per printer, each redrawn in place with a
// bar, the bytes, the rate and the time left. Text printed meanwhile goes above it.
// Every method may be called from any thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace printset {

// "812 B", "12.0 KiB", "3.4 MiB".
std::string FormatByteCount(uint64_t bytes);

// One line of the board, at most `width` columns: `label` padded to `labelWidth`, then
// the bar, the share, "done of total", and, once `rate` (bytes a second) is known
// (above 0), the rate and the time left.
std::string FormatProgressLine(const std::string& label, size_t labelWidth, int64_t done, int64_t total,
                               double rate, size_t width);

class TProgressBoard {
 public:
  // A board on the terminal `out`, one row per label ("" for a single printer); a null
  // `out` shows nothing and prints text as it comes.
  TProgressBoard(std::FILE* out, std::vector<std::string> labels);
  ~TProgressBoard() { Clear(); }
  TProgressBoard(const TProgressBoard&) = delete;
  TProgressBoard& operator=(const TProgressBoard&) = delete;

  // Row `row` has done `done` of `total` bytes of its current transfer; a count that
  // goes back, or another total, starts a new transfer (the next file).
  void Update(size_t row, int32_t done, int32_t total);
  // Row `row` is shown no more.
  void Finish(size_t row);
  // Prints `text` on `stream` (flushed) above the board, which stays below it.
  void Print(std::FILE* stream, const std::string& text);
  // Takes the board off the screen.
  void Clear();

 private:
  using TClock = std::chrono::steady_clock;
  struct TRow {
    std::string Label;
    bool Shown = false;
    bool Finished = false;
    int32_t Done = 0;
    int32_t Total = 0;
    int32_t StartDone = 0;
    TClock::time_point Start{};
    std::string Line;
  };

  void Erase();
  void Draw();
  size_t ShownBefore(size_t row) const;

  std::mutex Mutex;
  std::FILE* Out;
  std::vector<TRow> Rows;
  size_t LabelWidth = 0;
  size_t Width;
  size_t Drawn = 0;  // lines of the board now on the screen, the cursor below them
};

}  // namespace printset
