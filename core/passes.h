// The passes over the intermediate files that run between the reader and the
// writer: net sorting, the four checks, the pin-number change and the parts
// list CSV.
#pragma once

#include <array>
#include <filesystem>
#include <vector>

#include "core/context.h"
#include "core/text.h"

namespace korvanel {

// Sorts elements first..last of `list` in place, ascending by UTF-16 code
// units (case-sensitive; a prefix comes before the longer text). A range with
// first >= last stays unchanged.
void modStrSort(std::vector<Text>& list, long long first, long long last);

// Reads net.tmp, sorts the pins of every net and then the net lines, and
// appends the sorted lines, each followed by CR LF, to `sorted`.
void mrksort(const ConversionContext& context, Text& sorted);
// The same, written to `sortedNetFile` a piece at a time.
void mrksort(const ConversionContext& context, WholeFileOutput& sortedNetFile);

// Error log heading, written first into errlog.txt.
inline constexpr TextView kErrorLogHeading = u"／／／／／／／／／エラー情報／／／／／／／／／";

// The checks: each reads the intermediate files, shows its message when it
// found something and appends its section to `errorLog`.
void mchecknn(const ConversionContext& context, Text& errorLog);  // duplicate net names
void mcheckdp(const ConversionContext& context, Text& errorLog);  // duplicate parts
void mcheckdn(const ConversionContext& context, Text& errorLog);  // duplicate pins
void mcheckn1(const ConversionContext& context, Text& errorLog);  // nets with a single pin
// The duplicate checks (mchecknn, mcheckdp, mcheckdn, in that order) and the
// single-pin check, as chosen, from one reading of net.tmp: the same
// messages, sections and failures as the checks run one after the other.
void runChecks(const ConversionContext& context, bool duplicateChecks, bool singlePinCheck, Text& errorLog);

// Row r of the pin-number change table: reference letters at r, pin before
// the change at 10 + r, pin after the change at 20 + r.
using PinChangeTable = std::array<Text, 30>;
inline constexpr int kPinChangeRows = 10;

// Rewrites the net file, renaming the pins that the table's rows select.
void mchgpin(const ConversionContext& context, const std::filesystem::path& netFile, const PinChangeTable& table);

// Writes the parts of parts.tmp as a CSV parts list.
void mprtcsv(const ConversionContext& context, const std::filesystem::path& csvFile);

}  // namespace korvanel
