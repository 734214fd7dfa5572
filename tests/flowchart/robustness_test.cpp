// Damaged and foreign files: whatever the bytes, loading either refuses with a message and
// changes nothing, or yields a program that recomputes, compiles and lists without reading
// or writing outside its storage (the sanitizer build runs this too).

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "flowchart/flow_file.h"
#include "flowchart/listing.h"
#include "program_builder.h"
#include "temp_dir.h"

namespace pendra2::flowchart {
namespace {

using namespace testing;

std::vector<uint8_t> ValidFileBytes() {
  auto p = std::make_unique<FlowProgram>();
  StepRecord tune = Step(K::Orgel);
  tune.size = 20;
  StoreTunePath(tune, "C:\\tunes\\\x83\x5C\x82\xA0long_name.olg");
  Build(*p,
        {Loop(3), Step(K::Output, 1), Loop(2), Step(K::Wait, 4), LoopEnd(), LoopEnd(), tune,
         Step(K::Branch, 300, 1, 1, 2), Step(K::Compare, 7, 2, 0, 5), Step(K::Variable, 3, 9, 1),
         Step(K::VarCompare, 2, 8, 0, 1), Step(K::Goto, 0, 0, 0, 3)});
  pendra2::testing::TempDir dir;
  EXPECT_TRUE(SaveFlowFile(*p, dir / "valid.flc").ok());
  return pendra2::testing::ReadBytes(dir / "valid.flc");
}

// Everything the editor, the listing and the CLI do with a loaded program.
void Exercise(FlowProgram& p) {
  ASSERT_GE(p.count, 2);
  ASSERT_LE(p.count, kMaxSteps);
  if (Recompute(p)) {
    EXPECT_EQ(p.image[p.imageSize], 'E');
  } else {
    EXPECT_GT(p.imageSize, 511);
  }
  const auto passThrough = [](std::string_view s) { return std::string(s); };
  for (int i = 0; i < p.count; ++i) {
    for (auto n : {Notation::Basic, Notation::Japanese, Notation::C}) {
      ListingLine(i, p.steps[i], n, passThrough);
    }
    StepCaption(p.steps[i], passThrough);
  }
}

class Mutator {
 public:
  explicit Mutator(uint32_t seed) : rng_(seed) {}
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  std::vector<uint8_t> RandomBytes() {
    std::vector<uint8_t> b(Pick(0, 3) == 0 ? Pick(0, 300) : Pick(0, kFlowFileBytes + 100));
    for (auto& byte : b) byte = static_cast<uint8_t>(rng_());
    if (b.size() >= 16 && Pick(0, 1)) std::memcpy(&b[8], "4.25.80A", 8);  // past the version
    return b;
  }

  std::vector<uint8_t> Mutated(std::vector<uint8_t> b) {
    for (int e = Pick(1, 12); e > 0; --e) {
      switch (Pick(0, 5)) {
        case 0:  // any byte of the header and the first records
          b[Pick(0, 64 + 800 * 16 - 1)] = static_cast<uint8_t>(rng_());
          break;
        case 1:  // a whole int field of some record: kind, sizes, targets, ops, channels
          Poke(b, Pick(0, 15), kFields[Pick(0, 8)], Extreme());
          break;
        case 2: {  // the count, mostly with an End placed where it says
          const int count = Pick(0, 3) == 0 ? Pick(0, 65535) : Pick(2, 255);
          b[6] = static_cast<uint8_t>(count & 0xFF);
          b[7] = static_cast<uint8_t>(count >> 8);
          if (count >= 2 && count <= 255) Poke(b, count - 1, 0, 99);
          break;
        }
        case 3:
          Poke(b, Pick(1, 14), 0, Pick(-2, 13));
          break;
        case 4:  // a tune path without its NUL
          std::memset(&b[64 + 800 * 7 + 4 + 512], Pick(0x40, 0xFF), 256);
          break;
        default:
          b.resize(Pick(0, static_cast<int>(b.size())));
          return b;
      }
    }
    return b;
  }

 private:
  static constexpr std::size_t kFields[] = {0, 772, 776, 780, 784, 788, 792, 796, 4};
  int32_t Extreme() {
    constexpr int32_t values[] = {0,   1,   -1,  2,   3,     255,       256,      511,
                                  512, 767, 768, 769, 65535, INT32_MAX, INT32_MIN};
    return Pick(0, 1) ? values[Pick(0, 14)] : static_cast<int32_t>(rng_());
  }
  static void Poke(std::vector<uint8_t>& b, int step, std::size_t field, int32_t v) {
    const std::size_t at = 64 + 800 * static_cast<std::size_t>(step) + field;
    if (at + 4 <= b.size()) std::memcpy(&b[at], &v, 4);
  }
  std::mt19937 rng_;
};

TEST(RobustnessTest, ThousandsOfRandomAndMutatedFiles) {
  const auto valid = ValidFileBytes();
  Mutator m(20261206);
  pendra2::testing::TempDir dir;
  auto p = std::make_unique<FlowProgram>();
  int loaded = 0;
  for (int round = 0; round < 3000; ++round) {
    const auto bytes = round % 4 == 0 ? m.RandomBytes() : m.Mutated(valid);
    NewProgram(*p);
    Recompute(*p);
    const auto before = std::make_unique<FlowProgram>(*p);
    interaction::Outcome r;
    if (round % 30 == 0) {  // the file path too, now and then
      pendra2::testing::WriteBytes(dir / "damaged.flc", bytes);
      r = LoadFlowFile(*p, dir / "damaged.flc");
    } else {
      r = LoadFlowBytes(*p, bytes);
    }
    if (r.ok()) {
      ++loaded;
      Exercise(*p);
    } else {
      EXPECT_FALSE(r.message().text.empty());
      EXPECT_EQ(p->count, before->count);
      EXPECT_EQ(p->image, before->image);
      ASSERT_EQ(std::memcmp(p->steps.data(), before->steps.data(), sizeof p->steps), 0);
    }
  }
  EXPECT_GT(loaded, 800);  // both paths must really have been taken
  EXPECT_LT(loaded, 2500);
}

TEST(RobustnessTest, CompilerStaysInsideTheImageForAnyTable) {
  // A table nobody checked (CompileImage called directly) must still not write past 512.
  Mutator m(99);
  auto p = std::make_unique<FlowProgram>();
  for (int round = 0; round < 200; ++round) {
    for (int i = 0; i < kStepSlots; ++i) {
      p->steps[i] =
          Step(static_cast<K>(m.Pick(0, 12)), 0, m.Pick(-1, 3), m.Pick(-1, 4), m.Pick(-300, 300));
      p->steps[i].size = m.Pick(-10, 1000);
      p->steps[i].depth = m.Pick(-2, 4);
      p->endAddress[i] = m.Pick(0, 511);
    }
    p->count = m.Pick(-3, 300);
    CompileImage(*p);
    Recompute(*p);
  }
}

}  // namespace
}  // namespace pendra2::flowchart
