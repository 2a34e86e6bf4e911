#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "formats/builtin_formats.h"

namespace korvanel {
namespace {

std::vector<Text> namesWith(bool (*has)(const FormatTable&, const Text&), const std::vector<Text>& names) {
  std::vector<Text> found;
  for (const Text& name : names) {
    if (has(builtinFormats(), name)) found.push_back(name);
  }
  return found;
}

TEST(FormatTable, ListsTheNamesInTheWindowsOrder) {
  const FormatTable& formats = builtinFormats();
  ASSERT_EQ(formats.inputNames().size(), 29u);
  ASSERT_EQ(formats.outputNames().size(), 26u);
  EXPECT_EQ(formats.inputNames()[13], u"MENTOR");
  EXPECT_EQ(formats.inputNames()[14], u"MM-COLMO_NEO & MM2");
  EXPECT_EQ(formats.outputNames()[11], u"MM-COLMO_NEO & MM2");
  EXPECT_EQ(formats.outputNames()[12], u"MENTOR");
  EXPECT_EQ(formats.inputNames()[19], u"Pcad(wrl)");
  EXPECT_EQ(formats.inputNames()[20], u"Pcad(nlt)");
  // The open formats come last in both lists.
  EXPECT_EQ(std::vector<Text>(formats.inputNames().end() - 2, formats.inputNames().end()),
            (std::vector<Text>{u"KiCad", u"tEDAx"}));
  EXPECT_EQ(std::vector<Text>(formats.outputNames().end() - 2, formats.outputNames().end()),
            (std::vector<Text>{u"KiCad", u"tEDAx"}));
}

TEST(FormatTable, RoutesEveryListedNameAndStatesWhatEachWriterCarries) {
  const auto canRead = [](const FormatTable& formats, const Text& name) { return formats.findReader(name) != nullptr; };
  const auto canWrite = [](const FormatTable& formats, const Text& name) {
    return formats.findWriter(name) != nullptr && formats.findWriterLimits(name) != nullptr;
  };
  EXPECT_EQ(namesWith(canRead, builtinFormats().inputNames()), builtinFormats().inputNames());
  EXPECT_EQ(namesWith(canWrite, builtinFormats().outputNames()), builtinFormats().outputNames());
  EXPECT_TRUE(builtinFormats().hasCompanionPartsFile(u"MM-COLMO_NEO & MM2"));
  EXPECT_FALSE(builtinFormats().hasCompanionPartsFile(u"Telesis"));
}

// The names pass takes letters and digits as carried without looking them up.
TEST(FormatTable, NoWriterTakesALetterOrDigitAsSyntax) {
  const auto holdsLetterOrDigit = [](TextView characters) {
    return std::any_of(characters.begin(), characters.end(), [](char16_t c) { return c < 128 && std::isalnum(c); });
  };
  for (const Text& name : builtinFormats().outputNames()) {
    const FormatLimits& limits = *builtinFormats().findWriterLimits(name);
    for (const FieldLimits* field : {&limits.netName, &limits.reference, &limits.pinName, &limits.partName,
                                     &limits.package}) {
      for (const TextView characters :
           {field->syntaxCharacters, field->syntaxFirstCharacters, field->syntaxLaterCharacters}) {
        EXPECT_FALSE(holdsLetterOrDigit(characters)) << toUtf8(name);
      }
    }
  }
}

TEST(FormatTable, NamesAreExactText) {
  const FormatTable& formats = builtinFormats();
  EXPECT_NE(formats.findReader(u"Telesis"), nullptr);
  EXPECT_EQ(formats.findReader(u"TELESIS"), nullptr);
  EXPECT_EQ(formats.findReader(u" Telesis"), nullptr);
  EXPECT_EQ(formats.findReader(u"CR5000(PC)"), nullptr);
  EXPECT_EQ(formats.findWriter(u"FUTURE"), nullptr);
  EXPECT_EQ(formats.findReader(u"ALLEGRO"), formats.findReader(u"Telesis"));
  EXPECT_EQ(formats.findWriter(u"CR3000"), formats.findWriter(u"CR5000"));
  EXPECT_EQ(formats.findReader(u"OHM-3"), formats.findReader(u"SFX"));
  EXPECT_EQ(formats.findWriter(u"CADIX XID"), formats.findWriter(u"SFX"));
  EXPECT_EQ(formats.findWriter(u"PROTEL2"), nullptr);
  EXPECT_NE(formats.findWriter(u"CR5000(PC)"), formats.findWriter(u"CR5000"));
}

}  // namespace
}  // namespace korvanel
