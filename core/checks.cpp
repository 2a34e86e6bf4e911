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

void collect(std::vector<Text>& list, const Text& text, std::size_t capacity) {
  ensureRoomInList(list.size(), capacity, "texts to check for duplicates");
  list.push_back(text);
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

// Sorts the collected texts so that equal ones become neighbours, and reports
// every non-empty text that equals its successor.
void reportDuplicates(const ConversionContext& context, const CheckTexts& texts, std::vector<Text>& collected,
                      Text& errorLog) {
  modStrSort(collected, 0, static_cast<long long>(collected.size()) - 1);
  Text findings;
  for (std::size_t index = 0; index + 1 < collected.size(); ++index) {
    if (!collected[index].empty() && collected[index] == collected[index + 1]) {
      findings += collected[index];
      findings += texts.findingSuffix;
      findings += kCrLf;
    }
  }
  reportFindings(context, texts, findings, errorLog);
}

}  // namespace

void mchecknn(const ConversionContext& context, Text& errorLog) {
  NetRecord record;
  std::vector<Text> names;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(record, line);
    collect(names, record.get(kNetName), kNetNameCapacity);
  }
  reportDuplicates(context, kDuplicateNetNames, names, errorLog);
}

void mcheckdp(const ConversionContext& context, Text& errorLog) {
  PartRecord record;
  std::vector<Text> references;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(record, line);
    collect(references, record.get(kReference), kReferenceCapacity);
  }
  reportDuplicates(context, kDuplicateParts, references, errorLog);
}

void mcheckdn(const ConversionContext& context, Text& errorLog) {
  NetRecord record;
  std::vector<Text> pins;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(record, line);
    const long long last = pinCount(record) + 1;
    for (long long index = kFirstPin; index <= last; ++index) collect(pins, record.get(index), kPinCapacity);
  }
  reportDuplicates(context, kDuplicatePins, pins, errorLog);
}

void mcheckn1(const ConversionContext& context, Text& errorLog) {
  NetRecord record;
  Text findings;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(record, line);
    if (pinCount(record) != 1) continue;
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
