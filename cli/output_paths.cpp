// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output_paths.h"

#include <optional>
#include <set>
#include <utility>

#include "cli/UsageError.h"
#include "wave/file_node.h"

namespace tesmera {

namespace {

constexpr std::string_view DashForStandardOutput = "-";

// What makes two names one file: the device and inode when it exists, the
// normalised path when it is yet to be created.
struct FileIdentity {
    std::optional<FileNode> node;
    std::string path;
    bool regular = false;  // an existing regular file (not part of the identity)

    bool operator<(const FileIdentity& other) const {
        return node != other.node ? node < other.node : path < other.path;
    }
};

// The nodes of the inputs, looked up on first use: a batch of thousands of
// files whose outputs go to new files or to a device (/dev/null, a
// terminal, a pipe), none of which writing could overwrite an input through,
// never asks about them.
class InputNodes {
  public:
    explicit InputNodes(std::span<const std::string> inputs) : inputs_(inputs) {}

    bool Contains(const FileNode& node) {
        if (!nodes_) {
            nodes_.emplace();
            for (const std::string& input : inputs_) {
                if (const auto inputNode = FileNodeOf(input)) {
                    nodes_->insert(*inputNode);
                }
            }
        }
        return nodes_->contains(node);
    }

  private:
    std::span<const std::string> inputs_;
    std::optional<std::set<FileNode>> nodes_;
};

FileIdentity IdentityOf(const std::string& path) {
    bool regular = false;
    if (const auto node = FileNodeOf(path, &regular)) {
        return {node, {}, regular};
    }
    return {std::nullopt, NormalPath(path), false};
}

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw UsageError(path + ": " + why + "; nothing was written");
}

}  // namespace

void RefuseUnsafeOutputs(std::span<const std::string> inputs, std::span<const std::string> outputs,
                         StandardOutput standardOutput) {
    InputNodes inputNodes(inputs);
    std::set<FileIdentity> seen;
    bool standardOutputSeen = false;
    for (const std::string& output : outputs) {
        if (output.empty()) {
            continue;
        }
        if (output == DashForStandardOutput) {
            if (standardOutput == StandardOutput::Refused) {
                Refuse(output, "this output is a file and cannot go to standard output");
            }
            if (std::exchange(standardOutputSeen, true)) {
                Refuse(output, "standard output is named as two outputs, which would mix them");
            }
            continue;
        }
        if (output.front() == '-') {
            Refuse(output, "an output name starting with '-' may be a misplaced option; write ./" +
                               output + " for a file of that name");
        }
        const FileIdentity identity = IdentityOf(output);
        if (identity.regular && inputNodes.Contains(*identity.node)) {
            Refuse(output, "is also an input, which the output would overwrite");
        }
        if (!seen.insert(identity).second) {
            Refuse(output, "is named as two outputs");
        }
    }
}

}  // namespace tesmera
