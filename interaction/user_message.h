#pragma once
// The one shape of "it failed, and this is what to tell the user": a message box's text,
// caption and icon, carried back to whoever shows it. Cores and tools return an Outcome;
// the editors show the message through their Prompter, the command line prints it.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace pendra2::interaction {

enum class PromptIcon { None, Information, Warning, Error, Question };

struct UserMessage {
  std::string text;
  std::string caption;
  PromptIcon icon = PromptIcon::Information;
  friend bool operator==(const UserMessage&, const UserMessage&) = default;
};

// A fixed message as a constant; turns into a UserMessage where one is returned.
struct MessageText {
  std::string_view text;
  std::string_view caption;
  PromptIcon icon = PromptIcon::Information;
  operator UserMessage() const {  // NOLINT(google-explicit-constructor): constants read as messages
    return UserMessage{std::string(text), std::string(caption), icon};
  }
};

// A fixed message that names a file: the first "%s" of its text becomes `name`.
inline UserMessage NamingFile(const MessageText& message, std::string_view name) {
  UserMessage named = message;
  if (const auto at = named.text.find("%s"); at != std::string::npos) {
    // Built anew rather than replaced in place: GCC 12 warns wrongly about replace().
    named.text = named.text.substr(0, at).append(name).append(named.text, at + 2);
  }
  return named;
}

// Success, or the message of a failure.
class [[nodiscard]] Outcome {
 public:
  Outcome() = default;
  Outcome(UserMessage message)  // NOLINT(google-explicit-constructor): `return kSomeError;`
      : message_(std::move(message)) {}
  Outcome(const MessageText& message)  // NOLINT(google-explicit-constructor)
      : message_(UserMessage(message)) {}

  static Outcome Ok() { return {}; }
  bool ok() const { return !message_.has_value(); }
  // Only for a failure.
  const UserMessage& message() const { return *message_; }

 private:
  std::optional<UserMessage> message_;
};

}  // namespace pendra2::interaction
