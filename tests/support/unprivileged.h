#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace arcavio::test {

// Permission bits stop a user's writes but not root's, and tests run as root in CI. These
// helpers run part of a test in a forked child as a user without privileges: as root the
// child drops to an unprivileged user id for good; otherwise it is the current user.

// Gives a path (not following a link) to that user, when running as root.
void handToUnprivilegedUser(const std::string& path);

// What went wrong inside the child, where the test framework's assertions cannot reach.
class ChildReport {
  public:
    void expect(bool ok, std::string_view what);
    // Runs an action that must throw an error with exactly this message.
    void expectError(const std::function<void()>& action, std::string_view message);
    void expectNoError(const std::function<void()>& action, std::string_view what);
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

// Runs the body in the child and returns its report: empty when every expectation held. A child
// that crashed, or could not drop its privileges, reports that instead.
std::string runAsUnprivilegedUser(const std::function<void(ChildReport&)>& body);

} // namespace arcavio::test
