#include "files/help_launcher.h"

#include <gtest/gtest.h>

#include "fake_host.h"
#include "files_test_support.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

using testing::FakeHost;
using Args = std::vector<std::string>;

TEST(HelpLauncher, ErrorTextsNameTheKnownCodes) {
  EXPECT_EQ(help_error_text(2), "Error code: 2 (file not found)");
  EXPECT_EQ(help_error_text(3), "Error code: 3 (path not found)");
  EXPECT_EQ(help_error_text(11), "Error code: 11 (bad format)");
  EXPECT_EQ(help_error_text(31), "Error code: 31 (no association found)");
  EXPECT_EQ(help_error_text(0), "Error code: 0");
  EXPECT_EQ(help_error_text(5), "Error code: 5");
}

TEST(HelpLauncher, StartsTheAssociatedProgramWithTheFileAddress) {
  FakeHost host;
  host.cwd = "/home/ann/my runs";
  host.lookup = [](const std::string&) { return ProgramLookup{42, "/usr/bin/viewer", {}}; };
  Simulation sim(host);
  open_help(sim);
  ASSERT_EQ(host.started.size(), 1u);
  // Blanks stay inside one argument; the address escapes them.
  EXPECT_EQ(host.started[0], (Args{"/usr/bin/viewer", "file:///home/ann/my%20runs/Wandrix.html"}));
  ASSERT_EQ(host.lookups.size(), 1u);
  EXPECT_EQ(host.lookups[0].first, "Wandrix.html");
  EXPECT_EQ(host.lookups[0].second, testing::native_path("/home/ann/my runs"));
  EXPECT_TRUE(host.boxes.empty());
}

TEST(HelpLauncher, MissingPageIsLookedForWhereTheProgramIsInstalled) {
  FakeHost host;
  host.cwd = "/tmp/work";
  host.program_dir = "/opt/wandrix/bin";
  host.lookup = [](const std::string& folder) {
    if (folder == testing::native_path("/opt/wandrix/share/wandrix")) {
      return ProgramLookup{42, "firefox", {"firefox", "--new-window", "%u"}};
    }
    return ProgramLookup{2, {}, {}};
  };
  Simulation sim(host);
  open_help(sim);
  ASSERT_EQ(host.lookups.size(), 3u);
  EXPECT_EQ(host.lookups[1].second, testing::native_path("/opt/wandrix/bin"));
  ASSERT_EQ(host.started.size(), 1u);
  EXPECT_EQ(host.started[0],
            (Args{"firefox", "--new-window", "file:///opt/wandrix/share/wandrix/Wandrix.html"}));
}

TEST(HelpLauncher, PageFoundNowhereReportsFileNotFound) {
  FakeHost host;
  host.program_dir = "/usr/bin";
  host.lookup = [](const std::string&) { return ProgramLookup{2, {}, {}}; };
  Simulation sim(host);
  open_help(sim);
  EXPECT_TRUE(host.started.empty());
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "Error code: 2 (file not found)");
  EXPECT_EQ(host.boxes[0].caption, "Could not open help file");
}

TEST(HelpLauncher, NoAssociationStopsAtOnceWithItsMessage) {
  FakeHost host;
  host.program_dir = "/usr/bin";
  Simulation sim(host);
  open_help(sim);  // the fake associates nothing: code 31
  EXPECT_EQ(host.lookups.size(), 1u);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "Error code: 31 (no association found)");
}

TEST(HelpLauncher, UnlistedCodeGivesThePlainText) {
  FakeHost host;
  host.lookup = [](const std::string&) { return ProgramLookup{0, {}, {}}; };
  Simulation sim(host);
  open_help(sim);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "Error code: 0");
}

TEST(HelpLauncher, FoldersAreNormalisedAndNotRepeated) {
  using testing::native_path;
  EXPECT_EQ(help_folders("/usr/bin", "/usr/bin/"),
            (Args{native_path("/usr/bin"), native_path("/usr/share/wandrix")}));
  EXPECT_EQ(help_folders("/w/", ""), (Args{native_path("/w")}));
}

TEST(HelpLauncher, ExecLinesSplitLikeDesktopEntries) {
  EXPECT_EQ(split_exec_line("firefox %u"), (Args{"firefox", "%u"}));
  EXPECT_EQ(split_exec_line("  \"/opt/My Browser/run\"  --x   %U "),
            (Args{"/opt/My Browser/run", "--x", "%U"}));
  EXPECT_EQ(split_exec_line(R"("a \"b\" \\c")"), (Args{R"(a "b" \c)"}));
  EXPECT_FALSE(split_exec_line("\"unterminated").has_value());
  EXPECT_FALSE(split_exec_line("   ").has_value());
}

// The page's path must never reach a shell as code: a field code inside
// quotes (which the desktop-entry rules forbid) or in a shell's -c command
// makes the line unusable; a path handed over as an argument of its own is fine.
TEST(HelpLauncher, ExecLinesThatWouldRunThePathAsCodeAreRefused) {
  for (const char* exec : {R"(sh -c "prog %f")", R"(sh -c "prog %u")", R"(viewer "--page=%f")",
                           "sh -c %f", "/bin/bash -ec prog%u", "dash -xc %F", "env zsh -c %U"}) {
    EXPECT_FALSE(split_exec_line(exec).has_value()) << exec;
  }
  EXPECT_EQ(split_exec_line(R"(sh -c "exec prog \"\$1\"" sh %f)"),
            (Args{"sh", "-c", R"(exec prog "$1")", "sh", "%f"}));
  EXPECT_EQ(split_exec_line(R"(viewer "100%%" --x %u)"), (Args{"viewer", "100%%", "--x", "%u"}));
  EXPECT_EQ(split_exec_line("shine -c %u"), (Args{"shine", "-c", "%u"}));
}

TEST(HelpLauncher, FieldCodesAreReplacedOrDropped) {
  const std::string page = "/w/Wandrix.html";
  EXPECT_EQ(help_command({42, "b", {"b", "%i", "--file=%f", "100%%"}}, page),
            (Args{"b", "--file=/w/Wandrix.html", "100%"}));
  EXPECT_EQ(help_command({42, "b", {"b", "%F"}}, page), (Args{"b", "/w/Wandrix.html"}));
  EXPECT_EQ(help_command({42, "b", {"b", "--new"}}, page),
            (Args{"b", "--new", "file:///w/Wandrix.html"}));
}

TEST(HelpLauncher, AddressesEscapeWhatAUrlCannotHold) {
  EXPECT_EQ(file_url("/a b/c#d%e/Wandrix.html"), "file:///a%20b/c%23d%25e/Wandrix.html");
  EXPECT_EQ(file_url("/x/\xC3\xA9"), "file:///x/%C3%A9");
  EXPECT_EQ(file_url("C:\\My Files\\Wandrix.html"), "file:///C:/My%20Files/Wandrix.html");
  EXPECT_EQ(file_url("d:/a#b/Wandrix.html"), "file:///d:/a%23b/Wandrix.html");
  // Without a drive letter a backslash is a byte of the name, except where it
  // separates folders.
  const bool windows = std::filesystem::path::preferred_separator == '\\';
  EXPECT_EQ(file_url("1:\\x"), windows ? "file://1%3A/x" : "file://1%3A%5Cx");
  EXPECT_EQ(file_url("\\srv\\a b"), windows ? "file:///srv/a%20b" : "file://%5Csrv%5Ca%20b");
}

}  // namespace
}  // namespace wandrix
