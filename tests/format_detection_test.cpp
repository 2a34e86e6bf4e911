// Recognising a file's format: a real board converted into every writable
// format is recognised as that format alone, the formats that are only read
// are recognised from files of their own, look-alike formats tie, and every
// probe that accepts a file is borne out by its reader.
#include "core/format_detection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/driver.h"
#include "formats/builtin_formats.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using testing::text;

const std::string kBoard = std::string(KORVANEL_EXAMPLES_DIR) + "/board.tel";

// Files of the formats that are only read, and files that two modules fit
// equally well.
struct SampleCase {
  const char* name;
  std::string content;
  std::vector<std::string> best;  // the modules that fit best, names joined
};

const SampleCase kSamples[] = {
    {"CadlusNetLines",
     "CADLUS-PC REVERSE NET\r\n GND U1-7 U2-7\r\n   C1-2\r\n VCC U1-14 R1-1\r\n",
     {"CADLUS-PC(Reverse Net)"}},
    {"FutureSymbols", "HEADER,1\nPINLIST,2\n(SYM,1\nDATA,2,U1\nDATA,3,74HC04\nPIN,1,GND,0,0,0,7\n)\n", {"FUTURE"}},
    {"IntergraSections", "%PART\r\n74HC04        U1\r\n%NET\r\nGND U1-7 U2-7\r\n", {"INTERGRA"}},
    {"Protel2KeywordBlocks",
     "[\r\nDESIGNATOR\r\nU1\r\nPARTTYPE\r\n74HC04\r\n]\r\n(\r\nGND\r\nU1-7\r\n)\r\n",
     {"PROTEL2"}},
    {"PadsWithoutHeader",
     "*PART*\r\nU1 74HC04\r\n*NET*\r\n*SIGNAL* GND\r\nU1.7 U2.7\r\n*END*\r\n",
     {"PADS2000", "PADSPCB"}},
    {"PadsRemarkLines",
     "*PART*\r\n*REMARK* parts\r\nU1 74HC04\r\n*NET*\r\n*SIGNAL* GND\r\nU1.7\r\n*END*\r\n",
     {"PADSPCB"}},
    {"CcfNetsAlone", "$CCF{\r\n NET{\r\n  GND: U1(7),U2(7);\r\n }\r\n}\r\n", {"CR3000 / CR5000", "D2 CAD"}},
    {"BlocksWithCommaPins", "[\r\nU1\r\nSOIC14\r\n74HC04\r\n]\r\n(\r\nGND\r\nU1,7\r\n)\r\n", {"TANGO"}},
};

class Detection : public testing::ScratchTest {
 protected:
  // board.tel converted into `format`.
  std::filesystem::path converted(const Text& format) {
    ConversionFields fields;
    fields.inputPath = text(kBoard);
    fields.outputPath = text(path("board.out").string());
    fields.inputFormat = u"Telesis";
    fields.outputFormat = format;
    fields.csvOrOutputParts = text(path("board.prt").string());
    fields.duplicateChecks = fields.singlePinCheck = false;
    const RunResult result = runConversion(fields, host, RunSettings{directory, directory}, builtinFormats());
    EXPECT_EQ(result.outcome, RunOutcome::Finished) << toUtf8(format);
    return path("board.out");
  }

  static std::vector<std::string> bestOf(const std::filesystem::path& file) {
    std::vector<std::string> names;
    for (const DetectedFormat& format :
         bestFormats(detectFormats(builtinFormats(), ProbeInput::ofFile(file, Encoding::Cp932)))) {
      names.push_back(toUtf8(joinedNames(format)));
    }
    return names;
  }

  // Every probe that accepts the file is borne out by its reader.
  void expectReadersAgree(const std::filesystem::path& file, const ProbeInput& input) {
    for (const FormatEntry& entry : builtinFormats().entries()) {
      if (entry.probe == nullptr || entry.probe(input) == ProbeFit::None) continue;
      testing::RecordingHost silent;
      const ConversionContext readContext{path("read"), Encoding::Cp932, silent, entry.name};
      std::filesystem::create_directories(readContext.workDir);
      const RunResult read = runReaderOnly(entry.name, ReaderArguments{file, text(path("board.prt").string())},
                                           readContext, builtinFormats());
      EXPECT_NE(read.outcome, RunOutcome::FormatMismatch) << toUtf8(entry.name) << " accepts " << file;
    }
  }
};

TEST_F(Detection, EveryWriterOutputIsItsOwnFormatAlone) {
  for (const Text& format : builtinFormats().outputNames()) {
    const std::filesystem::path output = converted(format);
    const ProbeInput input = ProbeInput::ofFile(output, Encoding::Cp932);
    const std::vector<DetectedFormat> best = bestFormats(detectFormats(builtinFormats(), input));
    ASSERT_EQ(best.size(), 1u) << toUtf8(format);
    EXPECT_EQ(best.front().fit, ProbeFit::Header) << toUtf8(format);
    const std::vector<Text>& names = best.front().names;
    // CR5000(PC) is written only; its files are read as CR5000.
    const Text readAs = format == u"CR5000(PC)" ? Text(u"CR5000") : format;
    EXPECT_NE(std::find(names.begin(), names.end(), readAs), names.end()) << toUtf8(format);
    expectReadersAgree(output, input);
  }
}

TEST_F(Detection, ExamplesAreTelesis) {
  for (const char* example : {"board.tel", "sample.tel"}) {
    const std::filesystem::path file = std::string(KORVANEL_EXAMPLES_DIR) + "/" + example;
    EXPECT_EQ(bestOf(file), std::vector<std::string>{"ALLEGRO / Telesis"}) << example;
    expectReadersAgree(file, ProbeInput::ofFile(file, Encoding::Cp932));
  }
}

class Samples : public Detection, public ::testing::WithParamInterface<SampleCase> {};

TEST_P(Samples, FitTheirFormatsBest) {
  writeBytes("sample", GetParam().content);
  EXPECT_EQ(bestOf(path("sample")), GetParam().best);
  expectReadersAgree(path("sample"), ProbeInput::ofFile(path("sample"), Encoding::Cp932));
}

INSTANTIATE_TEST_SUITE_P(Files, Samples, ::testing::ValuesIn(kSamples),
                         [](const auto& info) { return std::string(info.param.name); });

// Files that a reader takes or refuses at its edges: no probe may accept
// what its reader refuses.
class NearMisses : public Detection, public ::testing::WithParamInterface<const char*> {};

TEST_P(NearMisses, AreNeverAcceptedAgainstTheirReaders) {
  writeBytes("near", GetParam());
  expectReadersAgree(path("near"), ProbeInput::ofFile(path("near"), Encoding::Cp932));
}

INSTANTIATE_TEST_SUITE_P(
    Files, NearMisses,
    ::testing::Values("", "\r\n", "$PACKAGES\r\nDIP ! X ; U1\r\n", "PARTS\r\nX = U1;\r\n", "*PART*\r\nU1 X\r\n",
                      "comp {\r\n U1 [DIP]={X, };\r\n", "/* c */ $CCF {$\r\nNET{ A: U1(1); }\r\n}\r\n",
                      "x $CCF\r\nNET { A : U1(1) ; }\r\n", "(export (version \"E\")\r\n(nets (net (name \"A\"))\r\n",
                      "tEDAx v1\nbegin netlist v1 x\nconn A U1 1\n", "GND : U1 - 1, U2 - 1\r\n", "$NET\r\nA; U1-1\r\n",
                      "A; U1-1\r\n$NET\r\n", ".NET\r\n.COM\r\n", "*NET '\r\n*PARTS\r\n", "%net\r\nGND U1-1\r\n",
                      "  GND\r\n", " GND\r\n", "(netlist \"\"\r\n)", "NETWORK 'A' U1-1\r\n", "\\GND\r\n"));

TEST(ProbeInput, HeadRunsOnToTheEndOfTheLineItEndsIn) {
  const ProbeInput crLf = ProbeInput::ofText(u"$PACKAGES\r\n$NETS\r\nGND ; U1.7\r\n", 14);
  EXPECT_EQ(crLf.lines(), (std::vector<Text>{u"$PACKAGES", u"$NETS"}));
  EXPECT_FALSE(crLf.holdsWholeFile());
  EXPECT_EQ(crLf.allLines().size(), 3u);
  // Without any CR in the file, LF ends its lines; with one, only CR does.
  EXPECT_EQ(ProbeInput::ofText(u"A\nB\nC\n", 4).lines(), (std::vector<Text>{u"A", u"B"}));
  EXPECT_EQ(ProbeInput::ofText(u"A\nB\nC\r\nD\r\n", 4).lines(), std::vector<Text>{u"A\nB\nC"});
  EXPECT_TRUE(ProbeInput::ofText(u"A\nB\n").holdsWholeFile());
  EXPECT_TRUE(ProbeInput::ofText(u"A long first line\n", 4).holdsWholeFile());
}

TEST(ProbeInput, AFormatWhoseKeywordLiesBeyondTheHeadIsReadOn) {
  Text parts;
  for (int part = 1; part <= 40; ++part) parts += u"0603 ! 10K ; R" + decimalText(part) + u"\r\n";
  const Text telesis = u"$PACKAGES\r\n" + parts + u"$NETS\r\nGND ; R1.1 R2.1\r\n$END\r\n";
  const std::vector<DetectedFormat> found = detectFormats(builtinFormats(), ProbeInput::ofText(telesis, 200));
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(toUtf8(joinedNames(found.front())), "ALLEGRO / Telesis");
  // Without the keyword anywhere, the reader would refuse the file.
  const Text noNets = u"$PACKAGES\r\n" + parts;
  for (const DetectedFormat& format : detectFormats(builtinFormats(), ProbeInput::ofText(noNets, 200))) {
    EXPECT_NE(toUtf8(joinedNames(format)), "ALLEGRO / Telesis");
  }
}

}  // namespace
}  // namespace korvanel
