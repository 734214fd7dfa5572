#pragma once
// The undo history of a document of fixed size: a program's step table, a tune's score.
// Each state is kept as the document's units (a program's step records); a unit some
// neighbouring state already holds, at whatever place, is shared with it rather than
// copied, so a step inserted at the top of a long program costs one record, not the whole
// table that moved down. Undo writes back the exact bytes of the state before, unused
// slots and all, so a save after an undo is the save before the operation.
//
// The history does not watch the document: whoever changes it calls Record afterwards,
// and an operation that left every byte as it was is no step.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pendra2::interaction {

class UndoHistory {
 public:
  // `unitBytes` divides every document recorded; `limit` operations are kept, the oldest
  // forgotten first.
  explicit UndoHistory(std::size_t unitBytes, std::size_t limit = 200)
      : unitBytes_(unitBytes), limit_(limit) {}

  // A new or loaded document: no history, and this is what was saved.
  void Reset(std::span<const uint8_t> document) {
    states_.clear();
    labels_.clear();
    states_.push_back(Make(document, nullptr));
    at_ = 0;
    saved_ = states_[0];
  }

  // An operation named `label` ended with the document as it is now. Nothing happens when
  // it changed no byte; otherwise what could have been redone is gone. False: no step.
  bool Record(std::string label, std::span<const uint8_t> document) {
    if (states_.empty()) Reset(document);
    if (Same(states_[at_], document)) return false;
    states_.resize(at_ + 1);
    labels_.resize(at_);
    states_.push_back(Make(document, &states_[at_]));
    labels_.push_back(std::move(label));
    ++at_;
    if (labels_.size() > limit_) {
      states_.erase(states_.begin());
      labels_.erase(labels_.begin());
      --at_;
    }
    return true;
  }

  bool CanUndo() const { return at_ > 0; }
  bool CanRedo() const { return at_ + 1 < states_.size(); }
  // What Undo or Redo would take back or do again; empty when nothing.
  std::string_view UndoLabel() const { return CanUndo() ? labels_[at_ - 1] : std::string_view{}; }
  std::string_view RedoLabel() const { return CanRedo() ? labels_[at_] : std::string_view{}; }

  // The state before the last operation, or after the last one undone, written over
  // `document`; false (nothing written) when there is none.
  bool Undo(std::span<uint8_t> document) { return MoveTo(at_ - 1, CanUndo(), document); }
  bool Redo(std::span<uint8_t> document) { return MoveTo(at_ + 1, CanRedo(), document); }

  // The document now is what was last saved.
  void MarkSaved() {
    if (!states_.empty()) saved_ = states_[at_];
  }
  // Whether the current state's bytes are those last saved or loaded.
  bool AtSaved() const {
    if (states_.empty()) return true;
    const State& now = states_[at_];
    if (now.size() != saved_.size()) return false;
    for (std::size_t i = 0; i < now.size(); ++i) {
      if (now[i] != saved_[i] && *now[i] != *saved_[i]) return false;
    }
    return true;
  }

  std::size_t steps() const { return labels_.size(); }
  // The bytes the history holds of its own (shared units once), for a memory benchmark.
  std::size_t UnitBytesHeld() const {
    std::vector<const void*> seen;
    for (const State& state : states_) {
      for (const Unit& unit : state) seen.push_back(unit.get());
    }
    std::sort(seen.begin(), seen.end());
    return static_cast<std::size_t>(std::unique(seen.begin(), seen.end()) - seen.begin()) *
           unitBytes_;
  }

 private:
  using Unit = std::shared_ptr<const std::vector<uint8_t>>;
  using State = std::vector<Unit>;

  std::span<const uint8_t> UnitOf(std::span<const uint8_t> document, std::size_t i) const {
    return document.subspan(i * unitBytes_, unitBytes_);
  }
  static bool Equal(const Unit& unit, std::span<const uint8_t> bytes) {
    return unit->size() == bytes.size() && std::equal(bytes.begin(), bytes.end(), unit->begin());
  }

  bool Same(const State& state, std::span<const uint8_t> document) const {
    if (state.size() * unitBytes_ != document.size()) return false;
    for (std::size_t i = 0; i < state.size(); ++i) {
      if (!Equal(state[i], UnitOf(document, i))) return false;
    }
    return true;
  }

  // The document's units, each shared with a unit of `near` (or one made before it) that
  // holds the same bytes, wherever that stands: steps move when one is inserted.
  State Make(std::span<const uint8_t> document, const State* near) const {
    const std::size_t count = unitBytes_ == 0 ? 0 : document.size() / unitBytes_;
    std::unordered_multimap<std::size_t, Unit> known;
    if (near) {
      for (const Unit& unit : *near) known.emplace(Hash(*unit), unit);
    }
    State state(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::span<const uint8_t> bytes = UnitOf(document, i);
      const std::size_t hash = Hash(bytes);
      const auto [from, to] = known.equal_range(hash);
      for (auto it = from; it != to && !state[i]; ++it) {
        if (Equal(it->second, bytes)) state[i] = it->second;
      }
      if (!state[i]) {
        state[i] = std::make_shared<const std::vector<uint8_t>>(bytes.begin(), bytes.end());
        known.emplace(hash, state[i]);
      }
    }
    return state;
  }
  static std::size_t Hash(std::span<const uint8_t> bytes) {
    return std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }

  bool MoveTo(std::size_t to, bool possible, std::span<uint8_t> document) {
    if (!possible || states_[to].size() * unitBytes_ != document.size()) return false;
    for (std::size_t i = 0; i < states_[to].size(); ++i) {
      std::memcpy(document.data() + i * unitBytes_, states_[to][i]->data(), unitBytes_);
    }
    at_ = to;
    return true;
  }

  std::size_t unitBytes_;
  std::size_t limit_;
  std::vector<State> states_;
  std::vector<std::string> labels_;  // labels_[i] took states_[i] to states_[i + 1]
  std::size_t at_ = 0;
  State saved_;
};

}  // namespace pendra2::interaction
