#include "cli/render_program.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "cli/cli_test_support.h"

namespace tesmera {
namespace {

namespace fs = std::filesystem;

// A folder "build" holding tesmera-cli and (when asked) an executable
// tesmera-render, a folder "libexec" with the installed one, and the
// current folder "cwd" with a tesmera-render of its own that must never
// be chosen.
struct LookupCase {
    std::string name;
    std::string self;       // relative to the temporary folder; "" unknown
    bool besideSelf;        // build/tesmera-render exists
    std::string installed;  // relative to the temporary folder unless it is a bare name
    bool installedExists;
    std::string found;  // relative; "" when the lookup fails

    friend void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }
};

class RenderLookup : public ::testing::TestWithParam<LookupCase> {};

void MakeExecutable(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "#!/bin/sh\n";
    fs::permissions(path, fs::perms::owner_all);
}

TEST_P(RenderLookup, UsesOnlyTheBuildOrTheInstallation) {
    const LookupCase& c = GetParam();
    const test::TempFolder folder;
    const fs::path root = folder.Path();
    MakeExecutable(root / "cwd" / "tesmera-render");
    if (c.besideSelf) {
        MakeExecutable(root / "build" / "tesmera-render");
    }
    if (c.installedExists) {
        MakeExecutable(root / "libexec" / "tesmera-render");
    }
    const fs::path self = c.self.empty() ? fs::path() : root / c.self;
    const std::string installed =
        c.installed.find('/') == std::string::npos ? c.installed : (root / c.installed).string();
    const fs::path before = fs::current_path();
    fs::current_path(root / "cwd");
    if (c.found.empty()) {
        EXPECT_THROW(FindRenderProgram(self, installed), std::runtime_error);
    } else {
        EXPECT_EQ(FindRenderProgram(self, installed), (root / c.found).string());
    }
    fs::current_path(before);
}

INSTANTIATE_TEST_SUITE_P(
    Places, RenderLookup,
    ::testing::Values(LookupCase{"BuildTree", "build/tesmera-cli", true, "libexec/tesmera-render",
                                 true, "build/tesmera-render"},
                      LookupCase{"Installed", "bin/tesmera-cli", false, "libexec/tesmera-render",
                                 true, "libexec/tesmera-render"},
                      LookupCase{"OwnPathUnknown", "", false, "libexec/tesmera-render", true,
                                 "libexec/tesmera-render"},
                      LookupCase{"NeitherPlace", "bin/tesmera-cli", false, "libexec/tesmera-render",
                                 false, ""},
                      LookupCase{"OwnPathUnknownNothingInstalled", "", false,
                                 "libexec/tesmera-render", false, ""},
                      LookupCase{"NeverTheCurrentFolder", "", false, "tesmera-render", false, ""}),
    [](const auto& info) { return info.param.name; });

TEST(RenderLookupMessage, NamesThePlacesLookedAt) {
    try {
        FindRenderProgram("/nowhere/bin/tesmera-cli", "/nowhere/libexec/tesmera-render");
        ADD_FAILURE() << "found";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(),
                     "tesmera-render not found at /nowhere/bin/tesmera-render nor "
                     "/nowhere/libexec/tesmera-render");
    }
}

}  // namespace
}  // namespace tesmera
