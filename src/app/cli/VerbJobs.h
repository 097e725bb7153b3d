// The requests of the verbs that talk to printers, built by the core from options as the
// verbs take them: every input checked and read once, nothing sent. The verbs and the
// recipe share them.
#pragma once

#include <optional>

#include "CliJob.h"

namespace printset {

// "set": the parameter block. TUsageError for a rate, code page or string refused.
TRequest SetJob(const TCliContext& context, const TCliOptions& options);
// "program" of Files[0]: the image read and checked. Nullopt when it cannot be read or is
// not a valid image, the reason on stderr; TUsageError for other than one file.
std::optional<TRequest> ProgramJob(const TCliOptions& options);
// "download" of Files (FILE[:COMMAND[:BASE]] each): every file read. Nullopt when a
// field is malformed or a file cannot be read, the reason on stderr.
std::optional<TRequest> DownloadJob(const TCliOptions& options);
// "logo download" of the pictures in Files: packed and saved as logo.bin. Nullopt when a
// picture is missing or cannot be packed, the reason on stderr; TUsageError for an
// empty list without AllowEmpty, a rule or threshold refused, too many pictures.
std::optional<TRequest> LogoDownloadJob(const TCliContext& context, const TCliOptions& options);

}  // namespace printset
