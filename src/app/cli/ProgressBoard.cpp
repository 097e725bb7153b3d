#include "ProgressBoard.h"

#include <algorithm>

#include "Terminal.h"

namespace printset {

namespace {

constexpr size_t kDefaultWidth = 80;
constexpr size_t kMinBarWidth = 10;
constexpr size_t kMaxBarWidth = 30;
constexpr size_t kMaxLabelWidth = 24;
constexpr double kKiB = 1024.0;
constexpr double kMiB = 1024.0 * 1024.0;
// A rate from less time than this swings too much to be worth showing.
constexpr double kMinRateSeconds = 0.25;

const char kCursorUp[] = "\x1b[%zuA";
const char kCursorDown[] = "\x1b[%zuB";
const char kEraseLine[] = "\r\x1b[2K";
const char kEraseBelow[] = "\r\x1b[J";

size_t TerminalWidth(std::FILE* out) {
  const size_t columns = TerminalColumns(out);
  return columns > 0 ? columns : kDefaultWidth;
}

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Duration(double seconds) {
  const long whole = static_cast<long>(seconds + 0.5);
  char text[32];
  if (whole >= 3600) std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
  else std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

}  // namespace

std::string FormatByteCount(uint64_t bytes) {
  const double value = static_cast<double>(bytes);
  if (value < kKiB) return std::to_string(bytes) + " B";
  if (value < kMiB) return Fixed(value / kKiB, 1) + " KiB";
  return Fixed(value / kMiB, 1) + " MiB";
}

std::string FormatProgressLine(const std::string& label, size_t labelWidth, int64_t done, int64_t total,
                               double rate, size_t width) {
  if (total <= 0) return label;
  done = std::clamp<int64_t>(done, 0, total);
  std::string tail = " " + std::to_string(done * 100 / total) + "%  " + FormatByteCount(static_cast<uint64_t>(done)) +
                     " of " + FormatByteCount(static_cast<uint64_t>(total));
  if (rate > 0)
    tail += "  " + FormatByteCount(static_cast<uint64_t>(rate)) + "/s  " +
            Duration(static_cast<double>(total - done) / rate) + " left";
  std::string head = label;
  if (!label.empty()) head += std::string(labelWidth > label.size() ? labelWidth - label.size() : 0, ' ') + "  ";
  const size_t fixed = head.size() + 2 + tail.size();
  const size_t room = width > fixed ? width - fixed : 0;
  const size_t bar = std::min(room, kMaxBarWidth);
  if (bar < kMinBarWidth) return (head + tail.substr(1)).substr(0, width);
  const size_t filled = static_cast<size_t>(done * static_cast<int64_t>(bar) / total);
  return head + "[" + std::string(filled, '#') + std::string(bar - filled, '.') + "]" + tail;
}

TProgressBoard::TProgressBoard(std::FILE* out, std::vector<std::string> labels) : Out(out), Width(TerminalWidth(out)) {
  for (std::string& label : labels) {
    LabelWidth = std::max(LabelWidth, std::min(label.size(), kMaxLabelWidth));
    TRow row;
    row.Label = std::move(label);
    Rows.push_back(std::move(row));
  }
  // The last column is left free: a line that fills it wraps on some terminals.
  if (Width > 1) --Width;
}

size_t TProgressBoard::ShownBefore(size_t row) const {
  size_t count = 0;
  for (size_t i = 0; i < row; ++i) count += Rows[i].Shown && !Rows[i].Finished;
  return count;
}

void TProgressBoard::Update(size_t row, int32_t done, int32_t total) {
  const std::lock_guard<std::mutex> lock(Mutex);
  if (!Out || row >= Rows.size() || Rows[row].Finished) return;
  TRow& entry = Rows[row];
  const TClock::time_point now = TClock::now();
  if (!entry.Shown || total != entry.Total || done < entry.Done) {
    entry.Start = now;
    entry.StartDone = done;
  }
  entry.Done = done;
  entry.Total = total;
  const double seconds = std::chrono::duration<double>(now - entry.Start).count();
  const double rate = seconds >= kMinRateSeconds ? (done - entry.StartDone) / seconds : 0;
  entry.Line = FormatProgressLine(entry.Label, LabelWidth, done, total, rate, Width);
  if (!entry.Shown) {
    // A new line: the board grows, drawn afresh.
    Erase();
    entry.Shown = true;
    Draw();
    return;
  }
  const size_t up = Drawn - ShownBefore(row);
  std::fprintf(Out, kCursorUp, up);
  std::fputs(kEraseLine, Out);
  std::fputs(entry.Line.c_str(), Out);
  std::fprintf(Out, kCursorDown, up);
  std::fputc('\r', Out);
  std::fflush(Out);
}

void TProgressBoard::Finish(size_t row) {
  const std::lock_guard<std::mutex> lock(Mutex);
  if (row >= Rows.size() || Rows[row].Finished) return;
  Erase();
  Rows[row].Finished = true;
  Draw();
}

void TProgressBoard::Print(std::FILE* stream, const std::string& text) {
  const std::lock_guard<std::mutex> lock(Mutex);
  Erase();
  std::fputs(text.c_str(), stream);
  std::fflush(stream);
  Draw();
}

void TProgressBoard::Clear() {
  const std::lock_guard<std::mutex> lock(Mutex);
  Erase();
}

void TProgressBoard::Erase() {
  if (!Out || Drawn == 0) return;
  std::fprintf(Out, kCursorUp, Drawn);
  std::fputs(kEraseBelow, Out);
  std::fflush(Out);
  Drawn = 0;
}

void TProgressBoard::Draw() {
  if (!Out) return;
  for (const TRow& row : Rows) {
    if (!row.Shown || row.Finished) continue;
    std::fputs(row.Line.c_str(), Out);
    std::fputc('\n', Out);
    ++Drawn;
  }
  std::fflush(Out);
}

}  // namespace printset
