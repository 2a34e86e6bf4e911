#include <algorithm>
#include <functional>
#include <string>

#include "core/errors.h"
#include "core/passes.h"
#include "core/records.h"

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

void collect(std::vector<TextView>& list, TextView text, std::size_t capacity) {
  ensureRoomInList(list.size(), capacity, "texts to check for duplicates");
  list.push_back(text);
}

// Every non-empty text that occurs more than once, with the number of times
// it occurs, in no particular order. One pass over the texts with an
// open-addressing table of the index of each text's first occurrence.
std::vector<std::pair<TextView, std::size_t>> repeatedTexts(const std::vector<TextView>& texts) {
  std::size_t slotCount = 16;
  while (slotCount < 2 * texts.size()) slotCount *= 2;
  constexpr std::size_t kEmptySlot = static_cast<std::size_t>(-1);
  std::vector<std::size_t> slots(slotCount, kEmptySlot);
  std::vector<std::size_t> occurrences(texts.size(), 0);
  const std::hash<TextView> hash;
  for (std::size_t index = 0; index < texts.size(); ++index) {
    if (texts[index].empty()) continue;
    std::size_t slot = hash(texts[index]) & (slotCount - 1);
    while (slots[slot] != kEmptySlot && texts[slots[slot]] != texts[index]) slot = (slot + 1) & (slotCount - 1);
    if (slots[slot] == kEmptySlot) slots[slot] = index;
    ++occurrences[slots[slot]];
  }
  std::vector<std::pair<TextView, std::size_t>> repeated;
  for (std::size_t index = 0; index < texts.size(); ++index) {
    if (occurrences[index] > 1) repeated.emplace_back(texts[index], occurrences[index]);
  }
  return repeated;
}

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
void reportDuplicates(const ConversionContext& context, const CheckTexts& texts,
                      const std::vector<TextView>& collected, Text& errorLog) {
  std::vector<std::pair<TextView, std::size_t>> repeated = repeatedTexts(collected);
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

}  // namespace

void mchecknn(const ConversionContext& context, Text& errorLog) {
  const LineList lines = readRecordLines(context.netFile(), context.encoding);
  NetRecordView record;
  std::vector<TextView> names;
  for (const TextView line : lines) {
    record.parse(line);
    collect(names, record.get(kNetName), kNetNameCapacity);
  }
  reportDuplicates(context, kDuplicateNetNames, names, errorLog);
}

void mcheckdp(const ConversionContext& context, Text& errorLog) {
  PartRecord record;
  std::vector<Text> references;
  std::vector<TextView> referenceViews;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(record, line);
    ensureRoomInList(references.size(), kReferenceCapacity, "texts to check for duplicates");
    references.push_back(record.get(kReference));
  }
  for (const Text& reference : references) referenceViews.push_back(reference);
  reportDuplicates(context, kDuplicateParts, referenceViews, errorLog);
}

void mcheckdn(const ConversionContext& context, Text& errorLog) {
  const LineList lines = readRecordLines(context.netFile(), context.encoding);
  NetRecordView record;
  std::vector<TextView> pins;
  for (const TextView line : lines) {
    record.parse(line);
    const long long last = record.pinCount() + 1;
    for (long long index = kFirstPin; index <= last; ++index) collect(pins, record.get(index), kPinCapacity);
  }
  reportDuplicates(context, kDuplicatePins, pins, errorLog);
}

void mcheckn1(const ConversionContext& context, Text& errorLog) {
  NetRecordView record;
  Text findings;
  const LineList lines = readRecordLines(context.netFile(), context.encoding);
  for (const TextView line : lines) {
    record.parse(line);
    if (record.pinCount() != 1) continue;
    findings += u"ネット名";
    findings += record.get(kNetName);
    findings += u"の";
    findings += record.get(kFirstPin);
    findings += u"ピンが行き先不明です。";
    findings += kCrLf;
  }
  reportFindings(context, kSinglePinNets, findings, errorLog);
}

}  // namespace korvanel
