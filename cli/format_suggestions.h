// A format name the table does not know, but close to names it does: after
// the driver's message, korvanel-cli names the names the user most likely
// meant.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/driver.h"
#include "core/format_table.h"

namespace korvanel::cli {

// The names of `known` nearest to `typed`, in the order of `known`: those that
// differ from it only in letter case, or else those a small typing slip away
// (a letter extra, missing, wrong, or two letters swapped; one slip for a
// name of up to four letters, two for a longer one). Empty when none is that
// close, and when `typed` is itself a known name.
std::vector<std::string> closestNames(std::string_view typed, const std::vector<Text>& known);

// "did you mean 'Telesis'?", "did you mean 'PADS2000' or 'PADSPCB'?",
// "did you mean 'CR2000', 'CR3000' or 'CR5000'?"; empty for no names.
std::string didYouMean(const std::vector<std::string>& names);

// After a run that ended for a format name without a module: the line that
// names the closest names to the input format (when it has no reader) or else
// to the output format (when it has no writer). Empty otherwise. An empty
// name stands for an option the command does not have.
std::string suggestionAfter(const RunResult& result, std::string_view inputFormat, std::string_view outputFormat,
                            const FormatTable& formats);

}  // namespace korvanel::cli
