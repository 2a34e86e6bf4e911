#include "core/field_limits.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/records.h"
#include "core/text_set.h"

namespace korvanel {
namespace {

constexpr char16_t kSafeCharacter = u'_';

// Control characters (a tab, a lone LF) never read back inside a field.
bool isControlCharacter(char16_t character) { return character < u' ' || character == u'\x7f'; }

// Letters and digits are syntax of no format: the character sets of the
// limits hold punctuation, blanks and controls only.
bool isAsciiLetterOrDigit(char16_t character) {
  return (character >= u'0' && character <= u'9') || (character >= u'A' && character <= u'Z') ||
         (character >= u'a' && character <= u'z');
}

// The finding lines of the section.
constexpr TextView kCannotCarry = u"は変換後のネットフォーマットで正しく表せません。";

// The names as the reader gives them back, each claimed by the first name
// that reads back as it. A read-back that is the name itself is held as a
// view of the name, which must outlive the set; any other as a copy.
class ReadBackNames {
 public:
  explicit ReadBackNames(const FormatLimits& limits) : limits_(limits) {}

  // Claims what `name` reads back as, unless an earlier name took it.
  bool claim(TextView name) {
    if (!limits_.readerUpperCases) return claimed_.insert(name).second;
    Text upper = toUpper(name);
    return upper == name ? claimed_.insert(name).second : claimCopy(std::move(upper));
  }
  // The same for a name that does not outlive the set.
  bool claimCopy(Text name) {
    if (limits_.readerUpperCases) name = toUpper(name);
    if (claimed_.contains(name)) return false;
    return claimed_.insert(copies_.emplace_back(std::move(name))).second;
  }

 private:
  const FormatLimits& limits_;
  TextViewSet claimed_;
  std::deque<Text> copies_;
};

// `base` with the suffix "_n", cut so that both fit the longest length.
Text withSuffix(const Text& base, int number, const FieldLimits& field) {
  const Text suffix = u"_" + decimalText(number);
  Text named = base;
  if (field.longestLength != 0 && named.size() + suffix.size() > field.longestLength) {
    named.resize(field.longestLength > suffix.size() ? field.longestLength - suffix.size() : 0);
  }
  return named + suffix;
}

// The new name of every net name that must change, in the order of the
// names' first lines.
std::vector<std::pair<Text, Text>> chooseNewNames(const std::deque<TextView>& names, const FormatLimits& limits) {
  ReadBackNames claimed(limits);
  std::vector<TextView> toRename;
  // Names that read back as themselves and as no earlier name keep it.
  for (const TextView name : names) {
    if (limits.netName.carries(name) && claimed.claim(name)) continue;
    toRename.push_back(name);
  }
  std::vector<std::pair<Text, Text>> renamed;
  for (const TextView name : toRename) {
    const Text base = limits.netName.carries(name) ? Text(name) : limits.netName.madeSafe(name);
    Text candidate = base;
    for (int number = 2; !claimed.claimCopy(candidate); ++number) {
      candidate = withSuffix(base, number, limits.netName);
    }
    renamed.emplace_back(Text(name), std::move(candidate));
  }
  return renamed;
}

// Collects finding lines, each text reported once.
class Findings {
 public:
  void add(TextView label, TextView text, TextView what) {
    if (!reported_.insert(Text(label) + u'\n' + Text(text)).second) return;
    lines_ += label;
    lines_ += text;
    lines_ += what;
    lines_ += kCrLf;
  }
  const Text& lines() const { return lines_; }

 private:
  std::unordered_set<Text> reported_;
  Text lines_;
};

// A finding line for a field that a reader had to change.
void noteRename(const ConversionContext& context, TextView label, TextView from, TextView to) {
  if (context.nameFindings == nullptr) return;
  *context.nameFindings += label;
  *context.nameFindings += from;
  *context.nameFindings += u"を";
  *context.nameFindings += to;
  *context.nameFindings += u"に変更しました。";
  *context.nameFindings += kCrLf;
}

void checkField(Findings& findings, const FieldLimits& field, TextView label, TextView text) {
  if (!field.carries(text)) findings.add(label, text, kCannotCarry);
}

}  // namespace

bool FieldLimits::carries(TextView field) const {
  if (field.empty()) return carriesEmpty;
  if (longestLength != 0 && field.size() > longestLength) return false;
  if (syntaxFirstCharacters.find(field.front()) != TextView::npos) return false;
  if (syntaxLastCharacters.find(field.back()) != TextView::npos) return false;
  for (std::size_t position = 0; position < field.size(); ++position) {
    if (!isAsciiLetterOrDigit(field[position]) && isOffending(field[position], position)) return false;
  }
  if (!syntaxSequences.empty() || !keywords.empty() || !prefixes.empty()) {
    const Text upper = toUpper(field);
    const auto beginsWith = [&](TextView prefix) { return upper.starts_with(prefix); };
    const auto holds = [&](TextView sequence) { return upper.find(sequence) != Text::npos; };
    if (std::any_of(syntaxSequences.begin(), syntaxSequences.end(), holds)) return false;
    if (std::find(keywords.begin(), keywords.end(), TextView(upper)) != keywords.end()) return false;
    if (std::any_of(prefixes.begin(), prefixes.end(), beginsWith)) return false;
  }
  return true;
}

bool FieldLimits::isOffending(char16_t character, std::size_t position) const {
  return isControlCharacter(character) || syntaxCharacters.find(character) != TextView::npos ||
         (position > 0 && syntaxLaterCharacters.find(character) != TextView::npos);
}

Text FieldLimits::madeSafe(TextView field) const {
  Text safe(field);
  for (std::size_t position = 0; position < safe.size(); ++position) {
    if (isOffending(safe[position], position)) safe[position] = kSafeCharacter;
  }
  // A sequence loses its first character.
  for (const TextView sequence : syntaxSequences) {
    for (std::size_t found = toUpper(safe).find(sequence); found != Text::npos;
         found = toUpper(safe).find(sequence, found + 1)) {
      safe[found] = kSafeCharacter;
    }
  }
  if (!safe.empty() && syntaxFirstCharacters.find(safe.front()) != TextView::npos) safe.front() = kSafeCharacter;
  if (!safe.empty() && syntaxLastCharacters.find(safe.back()) != TextView::npos) safe.back() = kSafeCharacter;
  if (longestLength != 0 && safe.size() > longestLength) safe.resize(longestLength);
  if (carries(safe)) return safe;
  // An empty field or a keyword gets a "_" after it, a prefix one in front.
  if (carries(safe + kSafeCharacter)) return safe + kSafeCharacter;
  safe.insert(safe.begin(), kSafeCharacter);
  return safe;
}

void makeNamesSafeForWriter(const ConversionContext& context, const FormatLimits& limits, Text& findings) {
  const LineList netLines = readRecordLines(context.netFile(), context.encoding);
  NetRecordView netView;
  TextViewSet distinctNames;
  // Every reference, pin, part name and package is reported once.
  Findings fields;
  for (const TextView line : netLines) {
    netView.parse(line);
    distinctNames.insert(netView.get(kNetName));
    const long long count = netView.pinCount();
    for (long long index = kFirstPin; index <= count + 1; ++index) {
      const TextView pin = netView.get(index);
      const std::size_t dot = pin.find(u'.');
      checkField(fields, limits.reference, u"リファレンス", pin.substr(0, dot));
      const bool lostAsDotsAlone = !limits.carriesPinOfDotsAlone && pin.find_first_not_of(u'.') == TextView::npos;
      const bool pinNameCarried =
          dot == TextView::npos
              ? limits.carriesPinWithoutName && pin.find_first_of(limits.pinWithoutNameSyntaxCharacters) == TextView::npos
              : limits.pinName.carries(pin.substr(dot + 1));
      if (lostAsDotsAlone || !pinNameCarried) fields.add(u"ピン", pin, kCannotCarry);
    }
  }

  const std::vector<std::pair<Text, Text>> renamed = chooseNewNames(distinctNames.texts(), limits);
  Findings renames;
  for (const auto& [oldName, newName] : renamed) {
    renames.add(u"ネット名", oldName, u"を" + newName + u"に変更しました。");
  }
  if (!renamed.empty()) {
    const std::unordered_map<Text, Text> newNameOf(renamed.begin(), renamed.end());
    NetRecord net;
    WholeFileOutput file(context.netFile(), context.encoding);
    Text content;
    for (const TextView line : netLines) {
      mrk1net(net, line);
      const auto found = newNameOf.find(net.get(kNetName));
      if (found != newNameOf.end()) {
        net.at(kNetName) = found->second;
        mnrkout(net, content);
      } else {
        content += line;
      }
      content += kCrLf;
      file.spill(content);
    }
    file.commit(content);
  }

  if (limits.carriesParts) {
    PartRecord part;
    for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
      mprk1in(part, line);
      checkField(fields, limits.reference, u"リファレンス", part.get(kReference));
      checkField(fields, limits.partName, u"部品名称", part.get(kPartName));
      checkField(fields, limits.package, u"その他情報", part.get(kOtherInformation));
    }
  }

  findings += renames.lines();
  findings += fields.lines();
}

void appendPartsLine(const ConversionContext& context, const PartRecord& record, Text& partsLines) {
  constexpr TextView kPartsLineDelimiters = u"!;:?";
  const auto holdsDelimiter = [&](int element) {
    return record.get(element).find_first_of(kPartsLineDelimiters) != Text::npos;
  };
  if (!holdsDelimiter(kPartName) && !holdsDelimiter(kOtherInformation) && !holdsDelimiter(kAdditionalText)) {
    mprkout(record, partsLines);
    partsLines += kCrLf;
    return;
  }
  PartRecord safe;
  for (int element = kPartName; element <= kAdditionalText; ++element) safe.at(element) = record.get(element);
  const auto change = [&](int element, TextView label, Text changed) {
    if (changed == record.get(element)) return;
    noteRename(context, label, record.get(element), changed);
    safe.at(element) = std::move(changed);
  };
  const auto delimitersMadeSafe = [&](TextView field) {
    Text changed(field);
    for (char16_t& character : changed) {
      if (kPartsLineDelimiters.find(character) != TextView::npos) character = kSafeCharacter;
    }
    return changed;
  };
  const Text& package = record.get(kOtherInformation);
  const std::size_t libraryPrefixEnd = package.rfind(u':');
  change(kPartName, u"部品名称", delimitersMadeSafe(record.get(kPartName)));
  change(kOtherInformation, u"その他情報",
         delimitersMadeSafe(libraryPrefixEnd == Text::npos ? TextView(package)
                                                           : TextView(package).substr(libraryPrefixEnd + 1)));
  change(kAdditionalText, u"付加情報", delimitersMadeSafe(record.get(kAdditionalText)));
  mprkout(safe, partsLines);
  partsLines += kCrLf;
}

void appendNamesSection(Text& errorLog, const Text& findings) {
  errorLog += kNamesSectionHeader;
  errorLog += kCrLf;
  errorLog += kCrLf;
  errorLog += findings;
  errorLog += kCrLf;
}

Text fitForNetLine(const ConversionContext& context, TextView label, const Text& field) {
  Text fitted = field;
  for (char16_t& character : fitted) {
    if (TextView(u";:, ").find(character) != TextView::npos) character = kSafeCharacter;
  }
  if (fitted != field) noteRename(context, label, field, fitted);
  return fitted;
}

}  // namespace korvanel
