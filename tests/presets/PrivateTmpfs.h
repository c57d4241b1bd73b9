#pragma once
#include <functional>
#include <optional>
#include <string>

namespace quor::testing {

// Runs `body` in a child process that has a mount namespace of its own, with a small tmpfs
// ("size=16k", say) mounted on a fresh folder that only the child sees; the mount ends with
// the child. Answers the text the body returns, or nothing with `whyNot` set when the system
// refuses namespaces or mounts. Works for root and, through a user namespace, for others.
std::optional<std::string> onPrivateTmpfs(
    const std::string& options, const std::function<std::string(const std::string&)>& body,
    std::string& whyNot);

// Inside such a body: makes its tmpfs read-only.
bool remountReadOnly(const std::string& folder, const std::string& options);

}  // namespace quor::testing
