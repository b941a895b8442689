// Every operation of a small batch install failed in turn (QMSETUP_FAULT): the
// run must say so, must leave nothing half-written under a final name, and a
// removal run afterwards must leave the machine as it was before the install.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/app/setup_media.h"
#include "tests/common/drive_contents.h"
#include "tests/common/temp_dir.h"
#include "tests/tools/run_tool.h"

namespace {

// Every operation in the plain build; under the sanitizers, where a run takes
// seconds and the program's copy alone thousands of writes, about this many
// runs spread over all of them.
#ifdef QM_FAULT_RUNS
constexpr std::size_t kFaultRuns = QM_FAULT_RUNS;
#else
constexpr std::size_t kFaultRuns = 0;  // every operation
#endif

// A stride prime to 3, so that the rotating kinds still take turns.
std::size_t OperationStride(std::size_t operations) {
  if constexpr (kFaultRuns == 0) {
    return 1;
  } else {
    if (operations <= kFaultRuns) return 1;
    std::size_t stride = operations / kFaultRuns;
    if (stride % 3 == 0) ++stride;
    return stride;
  }
}

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

constexpr const char* kKinds[] = {"enospc", "eio", "eacces"};

// The program group with a registry entry and a working directory: the run
// then completes the product (its registry entries and settings file) rather
// than registering the removal only.
constexpr const char* kProductTables =
    "[destinations]\n0=QMW2||C:\\QMW2\n1=WORK|0|\n"
    "[groups]\nMain=Main program|Core|1|1|0\nprogram=Program files|Program|1|1|1\n"
    "[Main]\nQM.EXE=100000|0|1|1|0|\n"
    "[program]\nA.TTF=20000|1|1|1|0|\n";
constexpr const char* kProductProfile =
    "[interface]\nWelcomeTitle=Welcome\n"
    "[Registry]\nkey = HKEY_LOCAL_MACHINE\\SOFTWARE\\Quill\nname = Dir\ndata = @0@\noption = 0\n";

// Which medium, and the kind every fault has; a negative kind lets the kinds
// take turns (operation n fails with kKinds[n % 3]), which keeps a loop short.
struct LoopCase {
  bool product;
  int kind;
};

// The medium of SetupMedia on a machine kept as it is before the install; each
// run gets a fresh copy of it.
class InjectedFaultTest : public ::testing::TestWithParam<LoopCase> {
 protected:
  InjectedFaultTest() {
    media_.CopyProgram(fs::path(QM_BIN_DIR) / "qmsetup");
    // Without its debugging information the program is a tenth of its size:
    // every run copies it, and a loop of some 200 runs is that much shorter.
    qmtest::RunProgram("/usr/bin/strip", {"--strip-debug", media_.Program().string()});
    if (GetParam().product) {
      media_.WriteFile("SETUP.ini", kProductTables);
      media_.WriteFile("cv_setup.ini", kProductProfile);
    }
    fs::create_directories(runtime_.Path());
    fs::permissions(runtime_.Path(), fs::perms::owner_all);
  }

  struct Run {
    qmtest::ToolResult result;
    std::map<std::string, std::string> drive;
    std::string registry;  // exported after a run that ended with status 0 only
  };

  // A fresh copy of the prepared machine, the install run on it with extra
  // environment, and what the machine holds afterwards.
  Run Install(const std::vector<std::string>& extra) {
    fs::remove_all(Machine());
    fs::copy(media_.Machine().Root(), Machine(), fs::copy_options::recursive);
    Run run;
    run.result = Setup({"/B"}, extra);
    run.drive = qmtest::DriveContents(Machine() / "drive_c");
    if (run.result.exitCode == 0) run.registry = Registry();
    return run;
  }

  qmtest::ToolResult Setup(const std::vector<std::string>& args, std::vector<std::string> env = {}) const {
    env.push_back("QMSETUP_SYSTEM=" + Machine().string());
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("XDG_RUNTIME_DIR=" + runtime_.Path().string());
    env.push_back("QMSETUP_REMOVAL_WAIT_MS=0");
    return qmtest::RunProgram((Machine() / "drive_c" / "MEDIA" / "SETUP").string(), args, env);
  }

  std::string Registry() const {
    return qmtest::RunTool("qmtool", {"reg", "export"}, {"QMSETUP_SYSTEM=" + Machine().string()}).out;
  }

  fs::path Machine() const { return work_.Path() / "machine"; }

  qmtest::SetupMedia media_;
  qmtest::TempDir work_{"qm-faults"};
  qmtest::TempDir runtime_{"qm-faults-runtime"};
};

TEST_P(InjectedFaultTest, EveryFailedOperationIsReportedAndRemovedCleanly) {
  const auto started = std::chrono::steady_clock::now();
  const LoopCase loop = GetParam();
  const auto kindOf = [&](std::size_t n) { return kKinds[loop.kind >= 0 ? loop.kind : static_cast<int>(n % 3)]; };
  const auto before = qmtest::DriveContents(media_.Machine().DriveC());
  fs::remove_all(Machine());
  fs::copy(media_.Machine().Root(), Machine(), fs::copy_options::recursive);
  const std::string registryBefore = Registry();

  // The clean run: how many operations it counts, and what it installs.
  const fs::path countFile = work_.Path() / "count.txt";
  const Run clean = Install({"QMSETUP_FAULT_COUNT=" + countFile.string()});
  ASSERT_EQ(clean.result.exitCode, 0) << clean.result.err;
  const std::vector<std::string> operations = Lines(qmtest::ReadFileText(countFile));
  ASSERT_GT(operations.size(), 20u);
  const std::vector<std::string> registryInstalled = Lines(clean.registry);
  // The product's files under their final names, with the bytes of their sources.
  const std::map<std::string, std::string> products = {{"QMW2/QM.EXE", qmtest::SetupMedia::kProgramBytes},
                                                       {"QMW2/FONT1.TTF", qmtest::SetupMedia::kFontBytes},
                                                       {"QMW2/SETUP", before.at("MEDIA/SETUP")}};
  for (const auto& [name, bytes] : products) ASSERT_EQ(clean.drive.at(name), bytes) << name;

  int cleanEnds = 0;
  int reported = 0;
  const std::size_t stride = OperationStride(operations.size());
  for (std::size_t n = 1; n <= operations.size(); n += stride) {
    const std::string fault = std::to_string(n) + ":" + kindOf(n);
    const std::string where = "fault " + fault + " at " + operations[n - 1];
    const Run run = Install({"QMSETUP_FAULT=" + fault});
    const int status = run.result.exitCode;
    EXPECT_TRUE(status >= 0 && status <= 3) << where << "\n" << run.result.err;

    // Nothing half-written under a final name.
    bool allInstalled = true;
    for (const auto& [name, bytes] : products) {
      const auto found = run.drive.find(name);
      if (found == run.drive.end()) {
        allInstalled = false;
      } else {
        EXPECT_EQ(found->second, bytes) << where << ": " << name << " is not its source";
      }
    }
    for (const std::string& line : registryInstalled) {
      if (status == 0 && run.registry.find(line) == std::string::npos) allInstalled = false;
    }
    // Status 0 only when everything is in place.
    if (status == 0) {
      EXPECT_TRUE(allInstalled) << where << ": the run ended with status 0 yet installed less\n" << run.result.err;
      // The files the run writes itself (the product's settings) as well; the
      // log alone may differ, in the order of its lines.
      for (const auto& [name, bytes] : clean.drive) {
        if (name == "WINDOWS/Qmw.log") continue;
        const auto found = run.drive.find(name);
        EXPECT_TRUE(found != run.drive.end() && found->second == bytes)
            << where << ": the run ended with status 0 without " << name << " as a clean run writes it";
      }
      ++cleanEnds;
    } else {
      ++reported;
    }

    // The removal leaves the machine as before the install.
    const qmtest::ToolResult removal = Setup({"/U", "/B", "/D:C:\\QMW2\\"});
    const auto after = qmtest::DriveContents(Machine() / "drive_c");
    for (const auto& [name, bytes] : after) {
      EXPECT_TRUE(before.contains(name)) << where << ": left behind " << name << "\n" << removal.err;
    }
    for (const auto& [name, bytes] : before) {
      EXPECT_TRUE(after.contains(name)) << where << ": lost " << name;
    }
    EXPECT_EQ(Registry(), registryBefore) << where << "\n" << removal.err;
    if (HasFailure()) break;  // one fault at a time is enough to read
  }
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started);
  std::cout << (loop.product ? "product " : "registration ") << (loop.kind >= 0 ? kKinds[loop.kind] : "rotating")
            << ": " << (operations.size() + stride - 1) / stride << " of " << operations.size()
            << " operations injected, " << cleanEnds << " ended with status 0, "
            << reported << " reported the failure, " << seconds.count() << " s\n";
}

INSTANTIATE_TEST_SUITE_P(Loops, InjectedFaultTest,
                         ::testing::Values(LoopCase{false, 0}, LoopCase{false, 1}, LoopCase{false, 2},
                                           LoopCase{true, -1}),
                         [](const auto& info) {
                           const LoopCase& loop = info.param;
                           return std::string(loop.product ? "Product" : "Registration") +
                                  (loop.kind >= 0 ? kKinds[loop.kind] : "RotatingKinds");
                         });

}  // namespace
