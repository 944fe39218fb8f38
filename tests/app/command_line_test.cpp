#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wandrix {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, NoArgumentsStartsWithoutAFile) {
  CommandLine line = parse_command_line({});
  EXPECT_EQ(line.action, CommandLineAction::run);
  EXPECT_EQ(line.file, "");
  EXPECT_EQ(line.message, "");
}

TEST(CommandLine, OneFileIsOpenedAtStart) {
  for (const char* name : {"lecture.dat", "/tmp/with blank.dat", "-", "notes.txt"}) {
    CommandLine line = parse_command_line({name});
    EXPECT_EQ(line.action, CommandLineAction::run) << name;
    EXPECT_EQ(line.file, name);
  }
}

TEST(CommandLine, DoubleDashEndsTheOptions) {
  CommandLine line = parse_command_line({"--", "-dashed.dat"});
  EXPECT_EQ(line.action, CommandLineAction::run);
  EXPECT_EQ(line.file, "-dashed.dat");

  // After "--" even --help is a file name, and a second "--" too.
  EXPECT_EQ(parse_command_line({"--", "--help"}).file, "--help");
  EXPECT_EQ(parse_command_line({"--", "--"}).file, "--");
  EXPECT_EQ(parse_command_line({"a.dat", "--"}).file, "a.dat");
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_EQ(parse_command_line({"--help"}).action, CommandLineAction::help);
  EXPECT_EQ(parse_command_line({"-h"}).action, CommandLineAction::help);
  EXPECT_EQ(parse_command_line({"--version"}).action, CommandLineAction::version);
  // Help is given even after a mistake, and wins over --version.
  EXPECT_EQ(parse_command_line({"--bogus", "a", "b", "--help"}).action, CommandLineAction::help);
  EXPECT_EQ(parse_command_line({"--version", "--help"}).action, CommandLineAction::help);
  EXPECT_EQ(parse_command_line({"a.dat", "--version"}).action, CommandLineAction::version);

  EXPECT_EQ(command_line_version(), std::string("wandrix ") + WANDRIX_VERSION + "\n");
  std::string usage = command_line_usage();
  EXPECT_EQ(usage.rfind("Usage: wandrix [OPTION]... [FILE]\n", 0), 0u);
  for (const char* option : {"--help", "--version", "-h", "--", "--lesson NAME"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
}

TEST(CommandLine, UnknownOptionsAreErrors) {
  for (const Args& args : {Args{"--bogus"}, Args{"-x"}, Args{"--help=yes"}, Args{"--versions"},
                           Args{"a.dat", "-v"}, Args{"-V"}}) {
    CommandLine line = parse_command_line(args);
    EXPECT_EQ(line.action, CommandLineAction::error) << args.back();
    EXPECT_EQ(line.file, "");
  }
  EXPECT_EQ(parse_command_line({"a.dat", "--bogus"}).message,
            "wandrix: unrecognised option '--bogus'\n"
            "Try 'wandrix --help' for more information.\n");
  EXPECT_EQ(kCommandLineError, 2);
}

TEST(CommandLine, MoreThanOneFileIsAnError) {
  CommandLine line = parse_command_line({"a.dat", "b.dat"});
  EXPECT_EQ(line.action, CommandLineAction::error);
  EXPECT_EQ(line.file, "");
  EXPECT_EQ(line.message,
            "wandrix: only one session file can be opened, but 'a.dat' and 'b.dat' were given\n"
            "Try 'wandrix --help' for more information.\n");
  EXPECT_EQ(parse_command_line({"a.dat", "--", "b.dat"}).action, CommandLineAction::error);
}

TEST(CommandLine, EmptyFileNameIsAnError) {
  CommandLine line = parse_command_line({""});
  EXPECT_EQ(line.action, CommandLineAction::error);
  EXPECT_NE(line.message.find("the file name is empty"), std::string::npos);
  EXPECT_EQ(parse_command_line({"--", ""}).action, CommandLineAction::error);
}

TEST(CommandLine, LessonIsOpenedAtStart) {
  struct Case {
    Args args;
    const char* lesson;
  };
  for (const Case& c : {Case{{"--lesson", "two-islands"}, "two-islands"},
                        Case{{"--lesson=two-islands"}, "two-islands"},
                        Case{{"--lesson", "/usr/share/wandrix/lessons/a b.json"},
                             "/usr/share/wandrix/lessons/a b.json"},
                        // The word after --lesson is its name even when it has a dash.
                        Case{{"--lesson", "-odd"}, "-odd"}, Case{{"--lesson", "--"}, "--"}}) {
    CommandLine line = parse_command_line(c.args);
    EXPECT_EQ(line.action, CommandLineAction::run) << c.args.back();
    EXPECT_EQ(line.lesson, c.lesson);
    EXPECT_EQ(line.file, "");
  }
  // After "--" it is a file name like any other word.
  CommandLine after_dashes = parse_command_line({"--", "--lesson"});
  EXPECT_EQ(after_dashes.file, "--lesson");
  EXPECT_EQ(after_dashes.lesson, "");
  EXPECT_EQ(parse_command_line({"lecture.dat"}).lesson, "");
}

TEST(CommandLine, LessonMistakesAreErrors) {
  struct Case {
    Args args;
    const char* problem;
  };
  for (const Case& c :
       {Case{{"--lesson"}, "option '--lesson' needs the name of a lesson"},
        Case{{"--lesson="}, "the lesson's name is empty"},
        Case{{"--lesson", ""}, "the lesson's name is empty"},
        Case{{"--lesson", "a", "--lesson", "b"},
             "only one lesson can be opened, but 'a' and 'b' were given"},
        Case{{"lecture.dat", "--lesson", "a"},
             "a session file and a lesson cannot be opened together, but 'lecture.dat' and the "
             "lesson 'a' were given"},
        Case{{"--lesson", "a", "--", "lecture.dat"},
             "a session file and a lesson cannot be opened together, but 'lecture.dat' and the "
             "lesson 'a' were given"},
        Case{{"--lessons", "a"}, "unrecognised option '--lessons'"}}) {
    CommandLine line = parse_command_line(c.args);
    EXPECT_EQ(line.action, CommandLineAction::error) << c.problem;
    EXPECT_EQ(line.message, std::string("wandrix: ") + c.problem +
                                "\nTry 'wandrix --help' for more information.\n");
    EXPECT_EQ(line.lesson, "");
    EXPECT_EQ(line.file, "");
  }
  // Help is still given.
  EXPECT_EQ(parse_command_line({"--lesson", "--help"}).action, CommandLineAction::help);
}

}  // namespace
}  // namespace wandrix
