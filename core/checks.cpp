#include <algorithm>
#include <exception>
#include <string>

#include "core/errors.h"
#include "core/passes.h"
#include "core/records.h"
#include "core/text_set.h"

namespace korvanel {
namespace {

// The texts of one check.
struct CheckTexts {
  TextView findingSuffix;
  TextView sectionHeader;
  TextView message;
};

constexpr CheckTexts kDuplicateNetNames{
    u"・・・・・ネット名が重複しています。", u"**************ネット名重複情報**************",
    u"ネット名の重複が有り処理が正常に行われません。処理終了後にエラー情報ボタンを押して確認してください。"};
constexpr CheckTexts kDuplicateParts{
    u"・・・・・部品が重複しています。", u"**************部品重複情報**************",
    u"部品の重複があります。処理終了後にエラー情報ボタンを押して確認してください。"};
constexpr CheckTexts kDuplicatePins{
    u"・・・・・ピン番が重複しています。", u"*************ピン番重複情報*************",
    u"ピン番の重複があります。処理終了後にエラー情報ボタンを押して確認してください。"};
constexpr CheckTexts kSinglePinNets{
    u"", u"**************行き先不明**************",
    u"ネット名の行き先不明（１ネット）が有ります。処理終了後にエラー情報ボタンを押して確認してください。"};

// Capacities of the collection lists of the duplicate checks.
constexpr std::size_t kNetNameCapacity = 20001;
constexpr std::size_t kReferenceCapacity = 1001;
constexpr std::size_t kPinCapacity = 50001;

// The texts of one check, counted as they come: each distinct non-empty
// text once, and the position of its first occurrence each time it comes
// again. The check's fixed list holds `capacity` texts in all.
class DuplicateCount {
 public:
  explicit DuplicateCount(std::size_t capacity) : capacity_(capacity) {}

  void add(TextView text) {
    if (full_) return;
    try {
      ensureRoomInList(collected_++, capacity_, "texts to check for duplicates");
    } catch (const CapacityError&) {
      full_ = std::current_exception();
      return;
    }
    if (text.empty()) return;
    const auto [position, isNew] = distinct_.insert(text);
    if (!isNew) repeatedPositions_.push_back(position);
  }

  // Every text that occurs more than once, with the number of times it
  // occurs, in no particular order. A list that overflowed fails here, so
  // that checks collected in one walk fail in the order they report.
  std::vector<std::pair<TextView, std::size_t>> repeatedTexts() {
    if (full_) std::rethrow_exception(full_);
    std::sort(repeatedPositions_.begin(), repeatedPositions_.end());
    std::vector<std::pair<TextView, std::size_t>> repeated;
    for (auto first = repeatedPositions_.begin(); first != repeatedPositions_.end();) {
      const auto last = std::upper_bound(first, repeatedPositions_.end(), *first);
      repeated.emplace_back(distinct_.texts()[*first], 1 + static_cast<std::size_t>(last - first));
      first = last;
    }
    return repeated;
  }

 private:
  std::size_t capacity_;
  std::size_t collected_ = 0;
  std::exception_ptr full_;
  TextViewSet distinct_;
  std::vector<std::size_t> repeatedPositions_;
};

// Shows the check's message and appends its section, when it found anything.
void reportFindings(const ConversionContext& context, const CheckTexts& texts, const Text& findings,
                    Text& errorLog) {
  if (findings.empty()) return;
  context.host.showMessage(Text(texts.message));
  errorLog += texts.sectionHeader;
  errorLog += kCrLf;
  errorLog += kCrLf;
  errorLog += findings;
  errorLog += kCrLf;
}

// Reports every non-empty text that occurs k > 1 times with k - 1 finding
// lines, the texts in ascending order by character codes: what sorting the
// collected texts and comparing neighbours gives, counted in linear time.
void reportDuplicates(const ConversionContext& context, const CheckTexts& texts, DuplicateCount& collected,
                      Text& errorLog) {
  std::vector<std::pair<TextView, std::size_t>> repeated = collected.repeatedTexts();
  std::sort(repeated.begin(), repeated.end());
  Text findings;
  for (const auto& [text, occurrences] : repeated) {
    for (std::size_t line = 1; line < occurrences; ++line) {
      findings += text;
      findings += texts.findingSuffix;
      findings += kCrLf;
    }
  }
  reportFindings(context, texts, findings, errorLog);
}

// What the net checks take from net.tmp, collected in one walk of its
// lines; the names and pins are views of the decoded file, which it keeps.
struct NetCheckWalk {
  NetCheckWalk(bool names, bool pins, bool singlePins) : names(names), pins(pins), singlePins(singlePins) {}

  bool names;
  bool pins;
  bool singlePins;
  Text netText;
  DuplicateCount netNames{kNetNameCapacity};
  DuplicateCount pinNames{kPinCapacity};
  Text singlePinFindings;

  void walk(const ConversionContext& context) {
    netText = readWholeFile(context.netFile(), context.encoding);
    NetRecordView record;
    forEachRecordLine(netText, [&](TextView line) {
      record.parse(line);
      if (names) netNames.add(record.get(kNetName));
      const long long count = record.pinCount();
      if (pins) {
        for (long long index = kFirstPin; index <= count + 1; ++index) pinNames.add(record.get(index));
      }
      if (singlePins && count == 1) {
        singlePinFindings += u"ネット名";
        singlePinFindings += record.get(kNetName);
        singlePinFindings += u"の";
        singlePinFindings += record.get(kFirstPin);
        singlePinFindings += u"ピンが行き先不明です。";
        singlePinFindings += kCrLf;
      }
    });
  }
};

}  // namespace

void mchecknn(const ConversionContext& context, Text& errorLog) {
  NetCheckWalk collected(true, false, false);
  collected.walk(context);
  reportDuplicates(context, kDuplicateNetNames, collected.netNames, errorLog);
}

void mcheckdp(const ConversionContext& context, Text& errorLog) {
  PartRecord record;
  std::vector<Text> references;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(record, line);
    ensureRoomInList(references.size(), kReferenceCapacity, "texts to check for duplicates");
    references.push_back(record.get(kReference));
  }
  DuplicateCount referenceCount(kReferenceCapacity);
  for (const Text& reference : references) referenceCount.add(reference);
  reportDuplicates(context, kDuplicateParts, referenceCount, errorLog);
}

void mcheckdn(const ConversionContext& context, Text& errorLog) {
  NetCheckWalk collected(false, true, false);
  collected.walk(context);
  reportDuplicates(context, kDuplicatePins, collected.pinNames, errorLog);
}

void mcheckn1(const ConversionContext& context, Text& errorLog) {
  NetCheckWalk collected(false, false, true);
  collected.walk(context);
  reportFindings(context, kSinglePinNets, collected.singlePinFindings, errorLog);
}

void runChecks(const ConversionContext& context, bool duplicateChecks, bool singlePinCheck, Text& errorLog) {
  if (!duplicateChecks && !singlePinCheck) return;
  NetCheckWalk collected(duplicateChecks, duplicateChecks, singlePinCheck);
  collected.walk(context);
  if (duplicateChecks) {
    reportDuplicates(context, kDuplicateNetNames, collected.netNames, errorLog);
    mcheckdp(context, errorLog);
    reportDuplicates(context, kDuplicatePins, collected.pinNames, errorLog);
  }
  if (singlePinCheck) reportFindings(context, kSinglePinNets, collected.singlePinFindings, errorLog);
}

}  // namespace korvanel
