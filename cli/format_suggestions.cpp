#include "cli/format_suggestions.h"

#include <algorithm>
#include <limits>

namespace korvanel::cli {
namespace {

// Edits that turn one text into the other: a character inserted, deleted or
// replaced, or two neighbours swapped.
std::size_t typingDistance(TextView from, TextView to) {
  std::vector<std::vector<std::size_t>> distance(from.size() + 1, std::vector<std::size_t>(to.size() + 1));
  for (std::size_t row = 0; row <= from.size(); ++row) distance[row][0] = row;
  for (std::size_t column = 0; column <= to.size(); ++column) distance[0][column] = column;
  for (std::size_t row = 1; row <= from.size(); ++row) {
    for (std::size_t column = 1; column <= to.size(); ++column) {
      const std::size_t replaced = from[row - 1] == to[column - 1] ? 0 : 1;
      std::size_t best = std::min({distance[row - 1][column] + 1, distance[row][column - 1] + 1,
                                   distance[row - 1][column - 1] + replaced});
      const bool swappedNeighbours = row > 1 && column > 1 && from[row - 1] == to[column - 2] &&
                                     from[row - 2] == to[column - 1];
      if (swappedNeighbours) best = std::min(best, distance[row - 2][column - 2] + 1);
      distance[row][column] = best;
    }
  }
  return distance[from.size()][to.size()];
}

std::size_t slipsAllowed(TextView typed) { return typed.size() <= 4 ? 1 : 2; }

}  // namespace

std::vector<std::string> closestNames(std::string_view typed, const std::vector<Text>& known) {
  const Text typedText = fromUtf8(typed);
  if (std::find(known.begin(), known.end(), typedText) != known.end()) return {};
  const Text folded = toUpper(typedText);
  std::size_t nearest = std::numeric_limits<std::size_t>::max();
  std::vector<std::size_t> distances;
  for (const Text& name : known) {
    distances.push_back(typingDistance(folded, toUpper(name)));
    nearest = std::min(nearest, distances.back());
  }
  std::vector<std::string> names;
  if (nearest > slipsAllowed(folded)) return names;
  for (std::size_t index = 0; index < known.size(); ++index) {
    if (distances[index] == nearest) names.push_back(toUtf8(known[index]));
  }
  return names;
}

std::string didYouMean(const std::vector<std::string>& names) {
  if (names.empty()) return {};
  std::string line = "did you mean ";
  for (std::size_t index = 0; index < names.size(); ++index) {
    if (index > 0) line += index + 1 == names.size() ? " or " : ", ";
    line += "'" + names[index] + "'";
  }
  return line + "?";
}

std::string suggestionAfter(const RunResult& result, std::string_view inputFormat, std::string_view outputFormat,
                            const FormatTable& formats) {
  if (result.outcome != RunOutcome::NoModule) return {};
  if (!inputFormat.empty() && formats.findReader(fromUtf8(inputFormat)) == nullptr) {
    return didYouMean(closestNames(inputFormat, formats.inputNames()));
  }
  if (!outputFormat.empty() && formats.findWriter(fromUtf8(outputFormat)) == nullptr) {
    return didYouMean(closestNames(outputFormat, formats.outputNames()));
  }
  return {};
}

}  // namespace korvanel::cli
