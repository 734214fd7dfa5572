#include "interaction/undo_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pendra2::interaction {
namespace {

// A document of 100 units of 8 bytes, each unit filled with one letter.
std::vector<uint8_t> Doc(const std::string& letters) {
  std::vector<uint8_t> doc;
  for (const char c : letters) doc.insert(doc.end(), 8, static_cast<uint8_t>(c));
  return doc;
}

TEST(UndoHistory, UndoAndRedoGiveBackEachStateAndANewStepDropsTheRedoBranch) {
  UndoHistory history(8);
  std::vector<uint8_t> doc = Doc("abc");
  history.Reset(doc);
  EXPECT_FALSE(history.Record("nothing", doc)) << "no byte changed, no step";
  doc = Doc("axc");
  EXPECT_TRUE(history.Record("x", doc));
  doc = Doc("axy");
  EXPECT_TRUE(history.Record("y", doc));
  EXPECT_EQ(history.UndoLabel(), "y");
  ASSERT_TRUE(history.Undo(doc));
  EXPECT_EQ(doc, Doc("axc"));
  EXPECT_EQ(history.RedoLabel(), "y");
  ASSERT_TRUE(history.Undo(doc));
  EXPECT_EQ(doc, Doc("abc"));
  EXPECT_TRUE(history.AtSaved());
  EXPECT_FALSE(history.Undo(doc));
  ASSERT_TRUE(history.Redo(doc));
  EXPECT_EQ(doc, Doc("axc"));
  EXPECT_FALSE(history.AtSaved());
  doc = Doc("zxc");
  EXPECT_TRUE(history.Record("z", doc));
  EXPECT_FALSE(history.CanRedo());
  EXPECT_TRUE(history.Undo(doc));
  EXPECT_EQ(doc, Doc("axc"));
  history.MarkSaved();
  EXPECT_TRUE(history.AtSaved());
  EXPECT_TRUE(history.Redo(doc));
  EXPECT_FALSE(history.AtSaved());
}

// Inserting a unit near the top of a long document moves every unit below it: the history
// keeps the moved ones once, and forgets its oldest steps past the limit.
TEST(UndoHistory, MovedUnitsAreKeptOnceAndTheOldestStepsGo) {
  std::string letters;
  for (int i = 0; i < 100; ++i) letters += static_cast<char>(' ' + i % 90);
  UndoHistory history(8, 150);
  std::vector<uint8_t> doc = Doc(letters);
  history.Reset(doc);
  std::string after50;
  for (int i = 0; i < 200; ++i) {
    if (i == 50) after50 = letters;
    letters.insert(letters.begin() + 1, static_cast<char>('A' + i % 26));
    letters.pop_back();
    doc = Doc(letters);
    history.Record("insert", doc);
  }
  EXPECT_EQ(history.steps(), 150u);
  EXPECT_LT(history.UnitBytesHeld(), 100u * 8 * 3);
  while (history.Undo(doc)) {
  }
  EXPECT_EQ(doc, Doc(after50)) << "the first 50 steps are forgotten";
}

}  // namespace
}  // namespace pendra2::interaction
