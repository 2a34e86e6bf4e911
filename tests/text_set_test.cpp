#include "core/text_set.h"

#include <gtest/gtest.h>

#include <string>

namespace korvanel {
namespace {

// Names that differ only in case stay apart; a text met again gives the
// position it was first added at, also after the table has grown many times.
TEST(TextViewSet, KeepsFirstPositionsInOrderThroughGrowth) {
  std::vector<Text> names = {u"Net-(C1-Pad1)", u"NET-(C1-PAD1)", u"/VPP{slash}MCLR", u"電源", u""};
  for (int index = 0; index < 5000; ++index) names.push_back(u"N" + fromUtf8(std::to_string(index)));
  TextViewSet set;
  for (std::size_t position = 0; position < names.size(); ++position) {
    EXPECT_EQ(set.insert(names[position]), std::make_pair(position, true));
  }
  for (std::size_t position = 0; position < names.size(); ++position) {
    EXPECT_EQ(set.insert(Text(names[position])), std::make_pair(position, false));
  }
  EXPECT_EQ(set.texts().size(), names.size());
  EXPECT_FALSE(set.contains(u"N5000"));
  EXPECT_TRUE(set.contains(u"電源"));
}

}  // namespace
}  // namespace korvanel
