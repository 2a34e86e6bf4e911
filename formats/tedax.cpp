#include "formats/tedax.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/field_limits.h"
#include "core/records.h"

namespace korvanel {
namespace {

constexpr TextView kFileKeyword = u"tEDAx";
constexpr TextView kFileVersion = u"v1";
constexpr TextView kBegin = u"begin";
constexpr TextView kEnd = u"end";
constexpr TextView kNetlist = u"netlist";
constexpr TextView kBlockVersion = u"v1";
constexpr TextView kFootprint = u"footprint";
constexpr TextView kValue = u"value";
constexpr TextView kConn = u"conn";
constexpr char16_t kEscape = u'\\';
constexpr char16_t kCommentStart = u'#';
// The characters that a written field escapes.
constexpr TextView kEscaped = u" \t\\#";

// The fields of a line. Blanks and tabs separate them; a backslash takes the
// character after it into the field as it is; a "#" that no backslash
// escapes starts a comment that runs to the end of the line.
std::vector<Text> fieldsOf(TextView line) {
  std::vector<Text> fields;
  Text field;
  bool insideField = false;
  for (std::size_t position = 0; position < line.size(); ++position) {
    char16_t character = line[position];
    const bool separates = character == u' ' || character == u'\t';
    if (character == kCommentStart) break;
    if (separates) {
      if (insideField) fields.push_back(std::move(field));
      field.clear();
      insideField = false;
      continue;
    }
    if (character == kEscape) {
      if (position + 1 == line.size()) break;
      character = line[++position];
    }
    field += character;
    insideField = true;
  }
  if (insideField) fields.push_back(std::move(field));
  return fields;
}

bool fieldsAre(const std::vector<Text>& fields, std::initializer_list<TextView> expected) {
  return fields.size() >= expected.size() && std::equal(expected.begin(), expected.end(), fields.begin());
}

// The parts and nets of a netlist block, each in the order of its first line.
// A part is known by its reference: a later footprint or value line of the
// same reference changes it. A net is known by its name: every conn line of
// the name adds a pin.
class NetlistBlock {
 public:
  // Takes one line of the block; the other lines (device, pinname and any
  // line of another count of fields) give nothing.
  void take(const std::vector<Text>& fields) {
    const bool namesPartField = fields.size() == 2 || fields.size() == 3;
    const bool connects = fields.size() == 3 || fields.size() == 4;
    if (fieldsAre(fields, {kFootprint}) && namesPartField) {
      partOf(fields[1]).package = fields.size() == 3 ? fields[2] : Text();
    } else if (fieldsAre(fields, {kValue}) && namesPartField) {
      partOf(fields[1]).value = fields.size() == 3 ? fields[2] : Text();
    } else if (fieldsAre(fields, {kConn}) && connects) {
      // A conn line without a pin name is its reference alone.
      Text pin = fields[2];
      if (fields.size() == 4) pin += u'.' + fields[3];
      netOf(fields[1]).pins.push_back(std::move(pin));
    }
  }

  void appendLines(const ConversionContext& context, Text& partsLines, Text& netLines) const {
    PartRecord part;
    for (const Part& each : parts_) {
      part.at(kPartName) = each.value;
      part.at(kReference) = each.reference;
      part.at(kOtherInformation) = each.package;
      appendPartsLine(context, part, partsLines);
    }
    NetRecord record;
    for (const Net& net : nets_) {
      record.at(kNetName) = fitForNetLine(context, u"ネット名", net.name);
      long long nextElement = kFirstPin;
      for (const Text& pin : net.pins) record.at(nextElement++) = fitForNetLine(context, u"ピン", pin);
      appendNetLine(record, nextElement, netLines);
    }
  }

 private:
  struct Part {
    Text reference;
    Text value;
    Text package;
  };
  struct Net {
    Text name;
    std::vector<Text> pins;
  };

  Part& partOf(const Text& reference) {
    const auto [found, isNew] = partIndex_.try_emplace(reference, parts_.size());
    if (isNew) parts_.push_back(Part{reference, {}, {}});
    return parts_[found->second];
  }
  Net& netOf(const Text& name) {
    const auto [found, isNew] = netIndex_.try_emplace(name, nets_.size());
    if (isNew) nets_.push_back(Net{name, {}});
    return nets_[found->second];
  }

  std::vector<Part> parts_;
  std::unordered_map<Text, std::size_t> partIndex_;
  std::vector<Net> nets_;
  std::unordered_map<Text, std::size_t> netIndex_;
};

// Reads the first netlist block of a file that begins with "tEDAx v1".
// Nothing when the file is not a tEDAx file, has no netlist block or ends
// inside it.
std::optional<NetlistBlock> readFirstNetlistBlock(const std::vector<Text>& lines) {
  std::size_t index = 0;
  std::vector<Text> fields;
  while (index < lines.size() && fields.empty()) fields = fieldsOf(lines[index++]);
  const bool isTedax = fields.size() == 2 && fieldsAre(fields, {kFileKeyword, kFileVersion});
  if (!isTedax) return std::nullopt;
  while (index < lines.size() && !fieldsAre(fieldsOf(lines[index]), {kBegin, kNetlist, kBlockVersion})) ++index;
  NetlistBlock block;
  for (++index; index < lines.size(); ++index) {
    fields = fieldsOf(lines[index]);
    if (fieldsAre(fields, {kEnd, kNetlist})) return block;
    block.take(fields);
  }
  return std::nullopt;
}

// A field as written: a blank, a tab, a backslash or a "#" gets a
// backslash in front.
Text escaped(TextView field) {
  Text written;
  for (const char16_t character : field) {
    if (kEscaped.find(character) != TextView::npos) written += kEscape;
    written += character;
  }
  return written;
}

// The lines of the input. A tEDAx file comes from Unix tools: an LF ends a
// line also in a file whose other lines end in CR LF.
std::vector<Text> linesOf(const std::vector<Text>& inputLines) {
  std::vector<Text> lines;
  for (const Text& line : inputLines) {
    std::size_t start = 0;
    for (std::size_t lineFeed = line.find(u'\n'); lineFeed != Text::npos; lineFeed = line.find(u'\n', start)) {
      lines.push_back(line.substr(start, lineFeed - start));
      start = lineFeed + 1;
    }
    lines.push_back(line.substr(start));
  }
  return lines;
}

}  // namespace

const FormatLimits kTedaxLimits{
    .readerUpperCases = false,
    // An empty field vanishes between the blanks around it: a conn line
    // without its net name reads as another line.
    .netName = {.carriesEmpty = false},
    // pcb-rnd takes the first "-" of a pin as the end of its reference:
    // TA-101 1 comes back from it as the pin 101-1 of TA.
    .reference = {.syntaxCharacters = u"-", .carriesEmpty = false},
    .pinName = {.carriesEmpty = false},
    // Without a value the value line is left out, without a package the
    // footprint line ends after the reference.
    .partName = {},
    .package = {},
};

void mntdxin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const std::optional<NetlistBlock> block = readFirstNetlistBlock(linesOf(readLines(input, context.encoding)));
  if (!block) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  Text partsLines;
  Text netLines;
  block->appendLines(context, partsLines, netLines);
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  writeWholeFile(context.netFile(), netLines, context.encoding);
}

ProbeFit probeTedax(const ProbeInput& input) {
  const std::vector<Text> head = linesOf(input.lines());
  const auto firstFields =
      std::find_if(head.begin(), head.end(), [](const Text& line) { return !fieldsOf(line).empty(); });
  const bool opensTedax = firstFields != head.end() && fieldsOf(*firstFields).size() == 2 &&
                          fieldsAre(fieldsOf(*firstFields), {kFileKeyword, kFileVersion});
  const bool accepted = acceptedByHeadOrWholeFile(input, opensTedax, [](const std::vector<Text>& lines) {
    return readFirstNetlistBlock(linesOf(lines)).has_value();
  });
  return accepted ? ProbeFit::Header : ProbeFit::None;
}

void mntdxout(const ConversionContext& context, const std::filesystem::path& output) {
  constexpr TextView kLineEnd = u"\n";
  WholeFileOutput file(output, context.encoding);
  Text out = u"tEDAx v1\nbegin netlist v1 ";
  // The block is named after the output file.
  out += escaped(fromUtf8(output.stem().string()));
  out += kLineEnd;

  // A part without a reference cannot be written: its footprint line would
  // read as the part of another reference.
  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    const Text& reference = part.get(kReference);
    if (reference.empty()) continue;
    out += u"\tfootprint ";
    out += escaped(reference);
    if (!part.get(kOtherInformation).empty()) out += u' ' + escaped(part.get(kOtherInformation));
    out += kLineEnd;
    if (part.get(kPartName).empty()) continue;
    out += u"\tvalue ";
    out += escaped(reference);
    out += u' ';
    out += escaped(part.get(kPartName));
    out += kLineEnd;
    file.spill(out);
  }

  // One conn line per pin: the pin's text before its first "." is the
  // reference, the rest the pin name. A net without a name cannot be
  // written: its pins would join another net. A net without pins has no
  // line.
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    if (net.get(kNetName).empty()) continue;
    const Text name = escaped(net.get(kNetName));
    for (long long index = kFirstPin; index < kFirstPin + pinCount(net); ++index) {
      const TextView pin = net.get(index);
      const std::size_t dot = pin.find(u'.');
      out += u"\tconn ";
      out += name;
      out += u' ';
      out += escaped(pin.substr(0, dot));
      const bool namesPin = dot != TextView::npos && dot + 1 < pin.size();
      if (namesPin) out += u' ' + escaped(pin.substr(dot + 1));
      out += kLineEnd;
    }
    file.spill(out);
  }
  out += u"end netlist";
  file.commit(out, kLineEnd);
}

}  // namespace korvanel
