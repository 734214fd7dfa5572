// Damaged and foreign files: whatever the bytes, loading either refuses with a message and
// changes nothing, or yields a program that recomputes, compiles and lists without reading
// or writing outside its storage (the sanitizer build runs this too).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>

#include "flowchart/flow_file.h"
#include "flowchart/listing.h"
#include "program_builder.h"
#include "temp_dir.h"

namespace pendra2::flowchart {
namespace {

using testing::Build;
using testing::Jump;
using testing::Loop;
using testing::LoopEnd;
using testing::Output;
using testing::Wait;

std::vector<uint8_t> ValidFileBytes() {
  auto p = std::make_unique<FlowProgram>();
  StepRecord tune = testing::Step(StepKind::Orgel);
  tune.size = 20;
  StoreTunePath(tune, "C:\\tunes\\\x83\x5C\x82\xA0long_name.olg");
  Build(*p,
        {Loop(3), Output(0, 1), Loop(2), Wait(4), LoopEnd(), LoopEnd(), tune,
         Jump(StepKind::Branch, 2, 1, 300, 1), Jump(StepKind::Compare, 5, 2, 7),
         testing::Variable(1, 9, 3), Jump(StepKind::VarCompare, 1, 8, 2), Jump(StepKind::Goto, 3)});
  pendra2::testing::TempDir dir;
  EXPECT_TRUE(SaveFlowFile(*p, dir / "valid.flc").ok);
  return pendra2::testing::ReadBytes(dir / "valid.flc");
}

// Everything a loaded program is used for by the editor, the listing and the CLI.
void Exercise(FlowProgram& p) {
  ASSERT_GE(p.count, 2);
  ASSERT_LE(p.count, kMaxSteps);
  const bool fits = Recompute(p);
  EXPECT_EQ(fits, p.imageSize <= 511);
  if (fits) {
    EXPECT_EQ(p.image[p.imageSize], 'E');
  }
  auto passThrough = [](std::string_view s) { return std::string(s); };
  std::size_t total = 0;
  for (int i = 0; i < p.count; ++i) {
    for (auto n : {Notation::Basic, Notation::Japanese, Notation::C}) {
      total += ListingLine(i, p.steps[i], n, passThrough).size();
    }
    total += StepCaption(p.steps[i], passThrough).size();
  }
  EXPECT_GT(total, 0u);
}

class Mutator {
 public:
  explicit Mutator(uint32_t seed) : rng_(seed) {}

  std::vector<uint8_t> RandomBytes() {
    std::vector<uint8_t> b(Pick(0, 3) == 0 ? Length(300) : Length(kFlowFileBytes + 100));
    for (std::size_t i = 0; i < b.size(); i += 4) {
      const uint32_t word = rng_();
      std::memcpy(&b[i], &word, std::min<std::size_t>(4, b.size() - i));
    }
    if (b.size() >= 16 && Pick(0, 1)) std::memcpy(&b[8], "4.25.80A", 8);  // get past the test
    return b;
  }

  std::vector<uint8_t> Mutated(std::vector<uint8_t> b) {
    const int edits = Pick(1, 12);
    for (int e = 0; e < edits; ++e) {
      switch (Pick(0, 5)) {
        case 0:  // any byte of the first records and header
          b[Pick(0, 64 + 800 * 16 - 1)] = static_cast<uint8_t>(Pick(0, 255));
          break;
        case 1:  // a whole int field of some record: kind, sizes, targets, ops, channels
          PokeField(b, Pick(0, 15), Pick(0, 8), Extreme());
          break;
        case 2:  // the count, sometimes consistent with an End placed there
        {
          const int count = Pick(0, 3) == 0 ? Pick(0, 65535) : Pick(2, 255);
          b[6] = static_cast<uint8_t>(count & 0xFF);
          b[7] = static_cast<uint8_t>(count >> 8);
          if (count >= 2 && count <= 255) PokeField(b, count - 1, 0, 99);
          break;
        }
        case 3:  // the kind of some step
          PokeField(b, Pick(1, 14), 0, Pick(-2, 13));
          break;
        case 4:  // a tune path without its NUL
          std::memset(&b[64 + 800 * 7 + 4 + 512], Pick(0x40, 0xFF), 256);
          break;
        default:  // cut the file short
          b.resize(Length(b.size()));
          return b;
      }
    }
    return b;
  }

  std::size_t Length(std::size_t hi) {
    return std::uniform_int_distribution<std::size_t>(0, hi)(rng_);
  }
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

 private:
  int32_t Extreme() {
    constexpr int32_t values[] = {0,   1,   -1,  2,   3,     255,       256,      511,
                                  512, 767, 768, 769, 65535, INT32_MAX, INT32_MIN};
    return Pick(0, 1) ? values[Pick(0, 14)] : static_cast<int32_t>(rng_());
  }
  void PokeField(std::vector<uint8_t>& b, int step, int field, int32_t v) {
    static constexpr std::size_t offsets[] = {0, 772, 776, 780, 784, 788, 792, 796, 4};
    const std::size_t at = 64 + 800 * static_cast<std::size_t>(step) + offsets[field];
    if (at + 4 <= b.size()) std::memcpy(&b[at], &v, 4);
  }
  std::mt19937 rng_;
};

TEST(RobustnessTest, ThousandsOfRandomAndMutatedFilesInMemory) {
  const auto valid = ValidFileBytes();
  ASSERT_EQ(valid.size(), kFlowFileBytes);
  Mutator m(20261206);
  auto p = std::make_unique<FlowProgram>();
  int loaded = 0;
  int refused = 0;
  for (int round = 0; round < 3000; ++round) {
    const auto bytes = round % 4 == 0 ? m.RandomBytes() : m.Mutated(valid);
    NewProgram(*p);
    Recompute(*p);
    const auto before = std::make_unique<FlowProgram>(*p);
    const auto r = LoadFlowBytes(*p, bytes);
    if (r.ok) {
      ++loaded;
      Exercise(*p);
    } else {
      ++refused;
      EXPECT_FALSE(r.message.empty());
      EXPECT_EQ(p->count, before->count);
      EXPECT_EQ(p->image, before->image);
      ASSERT_EQ(std::memcmp(p->steps.data(), before->steps.data(), sizeof p->steps), 0);
    }
  }
  // Both paths must really have been taken.
  EXPECT_GT(loaded, 800);
  EXPECT_GT(refused, 500);
}

TEST(RobustnessTest, DamagedFilesOnDisk) {
  const auto valid = ValidFileBytes();
  Mutator m(7);
  pendra2::testing::TempDir dir;
  auto p = std::make_unique<FlowProgram>();
  for (int round = 0; round < 100; ++round) {
    const auto path = dir / "damaged.flc";
    pendra2::testing::WriteBytes(path, round % 2 ? m.Mutated(valid) : m.RandomBytes());
    NewProgram(*p);
    if (LoadFlowFile(*p, path).ok) Exercise(*p);
  }
}

TEST(RobustnessTest, CompilerStaysInsideTheImageForAnyTable) {
  // A table nobody checked (CompileImage called directly) must still not write past 512.
  Mutator m(99);
  auto p = std::make_unique<FlowProgram>();
  for (int round = 0; round < 200; ++round) {
    NewProgram(*p);
    for (int i = 0; i < kStepSlots; ++i) {
      StepRecord& s = p->steps[i];
      s.kind = m.Pick(0, 12);
      s.size = m.Pick(-10, 1000);
      s.target = m.Pick(-300, 300);
      s.op = m.Pick(-1, 3);
      s.channel = m.Pick(-1, 4);
      s.depth = m.Pick(-2, 4);
      p->endAddress[i] = m.Pick(0, 511);
    }
    p->count = m.Pick(-3, 300);
    CompileImage(*p);
    Recompute(*p);
  }
}

}  // namespace
}  // namespace pendra2::flowchart
