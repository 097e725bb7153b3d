// "run RECIPE.ini": several operations on every printer of the rack, one search and one
// outcome per printer.
//
// The steps go in the order set, logo, program, download: the parameters and the logos
// are small and quickly sent again, and the firmware is programmed once the printer has
// taken them, so that a printer that fails early never has its firmware rewritten for
// nothing; the files of download mode come last, into the firmware that keeps them.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CliJson.h"
#include "DownloadSpec.h"
#include "VerbJobs.h"
#include "base/FileIo.h"
#include "base/Text.h"
#include "engine/ResultCodes.h"
#include "link/PortNames.h"
#include "settings/ProfileFile.h"

namespace printset {

namespace {

struct TRecipeSection {
  const char* Name;
  std::vector<const char*> Keys;
};
// Every section and key a recipe may hold; any other is a typo that must not pass.
const TRecipeSection kRecipeSections[] = {
    {"SET", {"NEWBAUD", "CODEPAGE", "CODEPAGE_VALUE", "STRING"}},
    {"LOGO", {"PICTURES", "DOTS", "THRESHOLD"}},
    {"PROGRAM", {"IMAGE"}},
    {"DOWNLOAD", {"FILES"}},
};

struct TRecipeStep {
  std::string Name;  // as the record and the output name it
  TRequest Request;  // its RateAfter: the rate the printer listens at after it; 0: as before
};

// A section header's name on a line of the recipe, or empty.
std::string SectionOf(const std::string& line) {
  std::string text = Trim(line);
  if (!text.empty() && text.back() == '\r') text = Trim(text.substr(0, text.size() - 1));
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return "";
  return Trim(text.substr(1, text.size() - 2));
}

// TUsageError for a section or key the recipe does not know.
void CheckNames(const std::string& recipe, const std::vector<uint8_t>& bytes, const TProfileFile& profile) {
  std::istringstream lines(std::string(bytes.begin(), bytes.end()));
  for (std::string line; std::getline(lines, line);) {
    const std::string section = SectionOf(line);
    if (section.empty()) continue;
    bool known = false;
    for (const TRecipeSection& allowed : kRecipeSections) known = known || SameTextIgnoringCase(section, allowed.Name);
    if (!known) throw TUsageError(recipe + ": no section [" + section + "] in a recipe (SET, LOGO, PROGRAM, DOWNLOAD)");
  }
  for (const TRecipeSection& allowed : kRecipeSections)
    for (const std::string& key : profile.ReadSectionKeys(allowed.Name)) {
      bool known = false;
      for (const char* name : allowed.Keys) known = known || SameTextIgnoringCase(key, name);
      if (!known) throw TUsageError(recipe + ": no key " + key + " in [" + allowed.Name + "] of a recipe");
    }
}

// The words of a list value, separated by blanks.
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// A path of the recipe, relative to the recipe's folder unless absolute.
std::string FromRecipe(const std::filesystem::path& folder, const std::string& path) {
  const std::filesystem::path given(path);
  return given.is_absolute() ? path : (folder / given).lexically_normal().string();
}

// The value of `key` in `section`; TUsageError when the section has it empty or not at all.
std::string Required(const TProfileFile& profile, const std::string& recipe, const char* section, const char* key) {
  const std::optional<std::string> value = profile.ReadString(section, key);
  if (!value || Trim(*value).empty()) throw TUsageError(recipe + ": [" + section + "] needs " + key + "=");
  return *value;
}

// Every step of the recipe, its inputs read and checked; false when one cannot be (the
// reason on stderr). TUsageError for a recipe that is no recipe.
bool ReadRecipe(const TCliContext& context, const std::string& recipe, std::vector<TRecipeStep>& steps,
                std::vector<TRecordInput>& inputs) {
  std::vector<uint8_t> bytes;
  std::string reason;
  if (!ReadFileBounded(recipe, kProfileFileMaxSize, bytes, reason)) {
    std::fprintf(stderr, "printset-cli: %s: %s; nothing was sent\n", recipe.c_str(), reason.c_str());
    return false;
  }
  inputs.push_back(RecordInput(recipe, bytes));
  const TProfileFile profile(recipe);
  CheckNames(recipe, bytes, profile);
  const std::filesystem::path folder = std::filesystem::path(recipe).parent_path();
  TCliOptions base = context.Options;
  base.Files.clear();
  if (profile.HasSection("SET")) {
    TCliOptions options = base;
    options.NewBaud = profile.ReadString("SET", "NEWBAUD");
    options.CodePage = profile.ReadString("SET", "CODEPAGE");
    options.CodePageValue = profile.ReadString("SET", "CODEPAGE_VALUE");
    options.String = profile.ReadString("SET", "STRING");
    if (options.CodePage && options.CodePageValue)
      throw TUsageError(recipe + ": [SET] takes CODEPAGE or CODEPAGE_VALUE, not both");
    steps.push_back({"set", SetJob(context, options)});
  }
  if (profile.HasSection("LOGO")) {
    TCliOptions options = base;
    options.Verb = "logo download";
    for (const std::string& picture : Words(Required(profile, recipe, "LOGO", "PICTURES")))
      options.Files.push_back(FromRecipe(folder, picture));
    options.Dots = profile.ReadString("LOGO", "DOTS");
    options.Threshold = profile.ReadString("LOGO", "THRESHOLD");
    std::optional<TRequest> request = LogoDownloadJob(context, options);
    if (!request) return false;
    steps.push_back({"logo download", std::move(*request)});
  }
  if (profile.HasSection("PROGRAM")) {
    TCliOptions options = base;
    options.Files.push_back(FromRecipe(folder, Required(profile, recipe, "PROGRAM", "IMAGE")));
    std::optional<TRequest> request = ProgramJob(options);
    if (!request) return false;
    steps.push_back({"program", std::move(*request)});
  }
  if (profile.HasSection("DOWNLOAD")) {
    TCliOptions options = base;
    for (const std::string& word : Words(Required(profile, recipe, "DOWNLOAD", "FILES"))) {
      TDownloadSpec spec;
      std::string error;
      if (!ParseDownloadSpec(word, spec, error)) {
        std::fprintf(stderr, "printset-cli: %s: %s; nothing was sent\n", recipe.c_str(), error.c_str());
        return false;
      }
      options.Files.push_back(FromRecipe(folder, spec.Path) + ":" + std::to_string(spec.Command) + ":" +
                              std::to_string(spec.Base));
    }
    std::optional<TRequest> request = DownloadJob(options);
    if (!request) return false;
    steps.push_back({"download", std::move(*request)});
  }
  if (steps.empty()) throw TUsageError(recipe + ": no step ([SET], [LOGO], [PROGRAM] or [DOWNLOAD])");
  for (const TRecipeStep& step : steps) inputs.insert(inputs.end(), step.Request.Inputs().begin(), step.Request.Inputs().end());
  return true;
}

// The name a step's traces are kept under in traces/RUNID/: "program-debug-PORT.log".
std::string TracePrefix(const std::string& step) {
  std::string prefix = step;
  for (char& c : prefix)
    if (c == ' ') c = '-';
  return prefix + "-";
}

std::string OutcomeLine(const TPrinterOutcome& outcome, bool single, bool json) {
  if (json) {
    TJson object = TJson::parse(OutcomeJson(outcome));
    object["step"] = outcome.Step;
    return JsonLine(object) + "\n";
  }
  TPrinterOutcome named = outcome;
  // "ERROR: " becomes "ERROR in program: "; the reason stays as the verbs give it.
  if (outcome.Result != kResultOk) named.Reason = "in " + outcome.Step + ": " + outcome.Reason;
  return single ? SingleOutcomeText(named) : RackOutcomeText(named);
}

}  // namespace

int RunRecipeVerb(TCliContext& context) {
  const std::vector<std::string>& files = context.Options.Files;
  if (files.size() != 1) throw TUsageError("run takes exactly one recipe file");
  std::vector<TRecipeStep> steps;
  std::vector<TRecordInput> inputs;
  // Every input of every step first: a bad one in the last step touches no printer.
  if (!ReadRecipe(context, files[0], steps, inputs)) return kExitDataError;

  const size_t count = context.Ports.size();
  std::vector<TPrinterOutcome> outcomes(count);
  std::vector<int32_t> rates(count, context.Rate.Rate);
  std::vector<bool> going(count, true);
  bool searched = false;
  for (const TRecipeStep& step : steps) {
    std::vector<size_t> which;
    std::vector<std::string> ports;
    std::vector<int32_t> portRates;
    for (size_t i = 0; i < count; ++i)
      if (going[i]) {
        which.push_back(i);
        ports.push_back(context.Ports[i]);
        portRates.push_back(rates[i]);
      }
    if (which.empty()) break;
    const std::vector<TPrinterOutcome> ended =
        RunRackJob(context, step.Request, ports, portRates, TracePrefix(step.Name), false);
    for (size_t k = 0; k < which.size(); ++k) {
      TPrinterOutcome& outcome = outcomes[which[k]];
      const TPrinterOutcome& now = ended[k];
      const uint64_t bytes = outcome.Bytes + now.Bytes;
      const uint64_t size = outcome.Size + now.Size;
      const double seconds = outcome.Seconds + now.Seconds;
      const std::optional<int32_t> foundAt = outcome.Baud;
      const std::optional<std::string> identity = outcome.Identity;
      outcome = now;
      outcome.Operation = "run";
      outcome.Step = step.Name;
      outcome.Bytes = bytes;
      outcome.Size = size;
      outcome.Seconds = seconds;
      // The rate of the one search; the steps after it start where the printer is.
      if (searched) outcome.Baud = foundAt;
      if (!outcome.Identity) outcome.Identity = identity;
      // The step's trace is written over by the next step's: the kept copy is the record.
      outcome.TracePath = outcome.KeptTrace;
      if (now.Result != kResultOk) {
        going[which[k]] = false;
        continue;
      }
      if (now.Baud) rates[which[k]] = *now.Baud;
      if (step.Request.RateAfter() > 0) rates[which[k]] = step.Request.RateAfter();
    }
    searched = true;
  }
  RecordCliRun(context, "run", inputs, outcomes);
  const bool single = count == 1;
  bool allOk = true;
  bool cancelled = false;
  for (const TPrinterOutcome& outcome : outcomes) {
    allOk = allOk && outcome.Result == kResultOk;
    cancelled = cancelled || outcome.Result == kResultCancelled;
    if (context.Options.Json || !context.Options.Quiet || outcome.Result != kResultOk)
      std::fputs(OutcomeLine(outcome, single, context.Options.Json).c_str(), stdout);
  }
  if (!single && context.Options.Json)
    std::printf("%s\n", SummaryJson("run", outcomes, StationRun().Id).c_str());
  else if (!single && (!context.Options.Quiet || !allOk))
    std::fputs(RackSummaryText(outcomes).c_str(), stdout);
  std::fflush(stdout);
  if (single) return outcomes.front().Result;
  if (allOk) return 0;
  return cancelled ? kResultCancelled : kExitSomePrintersFailed;
}

}  // namespace printset
