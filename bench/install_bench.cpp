// Install throughput: a product of many small files and one large file made
// into installation media by `qmtool media build` (stored and -lh5-), then
// installed onto a fresh emulated machine, against tar extracting the same
// files in the same run:
//   - the copy engine alone (install_copy_driver: the tables loaded as the
//     setup loads them, CFileCopy::CopyAllSources with a silent interface);
//   - the whole program, `qmsetup /B` from disk 1 (every page with its
//     defaults, Typical setup);
//   - tar -xf of a plain tar, and tar -xzf of a gzip tar as the compressed
//     media's peer.
// Then peak memory with a smaller large file, and with fewer small files as
// well; the removal (the registered removal command, batch) of the install
// with the smaller large file against rm -rf of the same install directory;
// and the start-up of a setup that waits for a person: the
// time to its splash and welcome pages against the program asked only for its
// version.
// Every installer runs as a child process: wall time from its start to its
// end, peak resident set from wait4 (ru_maxrss). Each figure is the median of
// three runs, each into a fresh machine or directory after a sync. Every run's
// result is checked against the product (names and sizes; the first run of
// each row byte for byte), every removal for what it left. MB are 10^6 bytes.
//
//   bench_install [--quick | --scale F] [--keep]
//     default: 10,000 small files and a 200 MB file; the memory rows put a
//     50 MB file beside the 200 MB one, then 100 small files beside the
//     10,000. --scale multiplies the file count and both large sizes; --quick
//     is --scale 0.1. --keep leaves the work directory (product, media, tars)
//     in place and names it.
//   Everything happens under TMPDIR (default /tmp), which so chooses the file
//   system that every installer writes to. On a disk, creating each file can
//   cost tar as much as the rest of its work; on a tmpfs (TMPDIR=/dev/shm)
//   what an installer adds per file shows plainly.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/install_payload.h"
#include "bench/timed_child.h"
#include "bench/traced_child.h"
#include "tests/common/temp_dir.h"
#include "wizard/page_ids.h"

namespace {

namespace fs = std::filesystem;
using namespace install_bench;

constexpr double kMB = 1e6;
constexpr int kRuns = 3;
constexpr uint64_t kCdSize = 681574400;  // 650 MiB
constexpr uint64_t kBigSeed = 0xB16F11E;
constexpr const char* kInstallDirectory = "QMW2";  // C:\QMW2, the tables' destination 0
constexpr const char* kRemovalCommand = "C:\\QMW2\\Unsetup.exe";  // what the install registers
constexpr int kFewFiles = 100;
constexpr double kStartTimeout = 120;  // seconds for a setup to show its welcome page

struct Settings {
  double scale = 1.0;
  bool keep = false;  // leave the media and the product for a profiler
};

Settings ParseArguments(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0) {
      settings.scale = 0.1;
    } else if (std::strcmp(argv[i], "--keep") == 0) {
      settings.keep = true;
    } else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
      settings.scale = std::atof(argv[++i]);
      if (settings.scale <= 0) throw std::runtime_error("--scale wants a positive number");
    } else {
      throw std::runtime_error(std::string("unknown argument ") + argv[i] + " (try --quick or --scale F)");
    }
  }
  return settings;
}

// Where the benchmark's own time goes, on stderr: the table stays on stdout.
void Progress(const std::string& what) {
  static const auto start = std::chrono::steady_clock::now();
  std::fprintf(stderr, "bench_install: %6.1f s  %s\n",
               std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), what.c_str());
}

fs::path ProgramDirectory() { return fs::read_symlink("/proc/self/exe").parent_path(); }

// A program of ours as it would ship. The build keeps its debug information,
// which would have the setup install (and the removal copy) some 40 MB of
// SETUP.EXE that no product carries.
void CopyShippedProgram(const std::string& name, const fs::path& to) {
  fs::copy_file(fs::path(QM_BIN_DIR) / name, to, fs::copy_options::overwrite_existing);
  ChildCommand strip;
  strip.argv = {"strip", "--strip-debug", to.string()};
  if (RunTimed(strip).exitCode != 0) throw std::runtime_error("strip --strip-debug " + to.string() + " failed");
}

// --- the product and its media ------------------------------------------------

struct Product {
  fs::path tree;    // setup/ holds the setup's own files, data/ the product
  Payload payload;  // the small files and data/BIG.DAT
  int directories = 0;
  fs::path memoryBig;  // data50/BIG.DAT: the memory rows' smaller large file
  uint64_t memoryBigBytes = 0;
  std::vector<PayloadFile> fewFiles;  // the memory rows' smaller count: kFewFiles small files and BIG.DAT
};

Product MakeProduct(const fs::path& work, const Settings& settings) {
  PayloadShape shape;
  shape.smallFiles = std::max(1, static_cast<int>(shape.smallFiles * settings.scale));
  shape.bigBytes = static_cast<uint64_t>(static_cast<double>(shape.bigBytes) * settings.scale);
  Product product;
  product.tree = work / "tree";
  const fs::path data = product.tree / "data";
  product.payload = WriteSmallFiles(data, shape);
  product.directories = shape.directories;
  WriteBigFile(data / "BIG.DAT", shape.bigBytes, kBigSeed);
  product.payload.files.push_back({"BIG.DAT", 0, shape.bigBytes});
  product.payload.totalBytes += shape.bigBytes;
  const std::size_t few = std::min<std::size_t>(kFewFiles, product.payload.files.size() - 1);
  product.fewFiles.assign(product.payload.files.begin(), product.payload.files.begin() + few);
  product.fewFiles.push_back(product.payload.files.back());
  product.fewFiles.back().bytes = shape.bigBytes / 4;  // data50's, as the smaller large file's row

  product.memoryBigBytes = shape.bigBytes / 4;
  fs::create_directories(product.tree / "data50");
  product.memoryBig = product.tree / "data50" / "BIG.DAT";
  WriteBigFile(product.memoryBig, product.memoryBigBytes, kBigSeed);

  const fs::path setup = product.tree / "setup";
  fs::create_directories(setup);
  CopyShippedProgram("qmsetup", setup / "SETUP.EXE");
  qmtest::WriteFileText(setup / "cv_setup.ini", "[interface]\r\nWelcomeTitle=Welcome\r\n");
  qmtest::WriteFileText(setup / "agree.txt", "You agree.\r\n");
  return product;
}

// The manifest of one medium: the small files in one archive, directory by
// directory in name order as tar --sort=name packs them, the large file in
// another archive, both of group Main, on one CD.
fs::path WriteManifest(const fs::path& work, const std::string& name, const Product& product,
                       const std::vector<PayloadFile>& files, bool compressed, const std::string& bigPath) {
  std::string text =
      "[product]\ntitle = Quillmark 2.0\ntree = tree\ndisk size = " + std::to_string(kCdSize) +
      "\nsetup = setup/SETUP.EXE\nprofile = setup/cv_setup.ini\nlicence = setup/agree.txt\n"
      "[diskettes]\n1 = Quillmark 2.0 CD\n"
      "[groups]\nMain = Quillmark|The program and its files|1|1|1\n"
      "[destinations]\n0 = " + std::string(kInstallDirectory) + "||C:\\" + kInstallDirectory + "\n";
  for (int d = 1; d <= product.directories; ++d) text += std::to_string(d) + " = " + DirectoryName(d) + "|0|\n";
  const std::string method = compressed ? "lh5" : "stored";
  text += "[archive SMALL.1]\nmethod = " + method + "\ngroup = Main\n";
  std::vector<const PayloadFile*> small;
  for (const PayloadFile& file : files) {
    if (file.directory > 0) small.push_back(&file);
  }
  std::sort(small.begin(), small.end(),
            [](const PayloadFile* a, const PayloadFile* b) { return a->relative < b->relative; });
  for (const PayloadFile* file : small) {
    text += "file = data/" + file->relative + "|" + std::to_string(file->directory) + "\n";
  }
  text += "[archive BIG.1]\nmethod = " + method + "\ngroup = Main\nfile = " + bigPath + "|0\n";
  const fs::path manifest = work / (name + ".qmm");
  qmtest::WriteFileText(manifest, text);
  return manifest;
}

// The bytes of the archives' volumes (SMALL.1, BIG.1, ...) on every disk.
uint64_t ArchiveBytes(const fs::path& media) {
  uint64_t bytes = 0;
  for (const auto& item : fs::recursive_directory_iterator(media)) {
    const std::string name = item.path().filename().string();
    if (item.is_regular_file() && (name.rfind("SMALL.", 0) == 0 || name.rfind("BIG.", 0) == 0)) {
      bytes += item.file_size();
    }
  }
  return bytes;
}

struct Media {
  std::string name;
  fs::path disk1;
  uint64_t bytes = 0;  // of its archives
  double buildSeconds = 0;
};

Media BuildMedia(const fs::path& work, const std::string& name, const Product& product,
                 const std::vector<PayloadFile>& files, bool compressed, const std::string& bigPath) {
  const fs::path manifest = WriteManifest(work, name, product, files, compressed, bigPath);
  const fs::path out = work / ("media-" + name);
  ChildCommand command;
  command.argv = {(fs::path(QM_BIN_DIR) / "qmtool").string(), "media", "build", manifest.string(), out.string()};
  command.environment = {"QMSETUP_SYSTEM=" + (work / "tool-machine").string()};
  command.stderrPath = work / "media-build.err";
  const ChildResult built = RunTimed(command);
  if (built.exitCode != 0) {
    throw std::runtime_error("qmtool media build " + name + " failed: " + qmtest::ReadFileText(command.stderrPath));
  }
  return {name, out / "DISK01", ArchiveBytes(out), built.seconds};
}

// --- checking an install ------------------------------------------------------

// Compares files through two buffers made once: a check reads every
// installed byte, and fresh buffers per file would cost more than the reading.
class ContentComparer {
 public:
  bool Same(const fs::path& a, const fs::path& b) {
    std::ifstream x(a, std::ios::binary);
    std::ifstream y(b, std::ios::binary);
    while (x && y) {
      x.read(bufferA_.data(), static_cast<std::streamsize>(bufferA_.size()));
      y.read(bufferB_.data(), static_cast<std::streamsize>(bufferB_.size()));
      if (x.gcount() != y.gcount() ||
          std::memcmp(bufferA_.data(), bufferB_.data(), static_cast<std::size_t>(x.gcount())) != 0) {
        return false;
      }
    }
    return !x && !y;
  }

 private:
  static constexpr std::size_t kBuffer = 256 * 1024;
  std::vector<char> bufferA_ = std::vector<char>(kBuffer);
  std::vector<char> bufferB_ = std::vector<char>(kBuffer);
};

// Every one of files is in installed with its size (and its bytes when
// full); big names the source of BIG.DAT.
void CheckInstalled(const fs::path& installed, const Product& product, const std::vector<PayloadFile>& files,
                    const fs::path& big, bool full) {
  const fs::path data = product.tree / "data";
  ContentComparer comparer;
  for (const PayloadFile& file : files) {
    const bool isBig = file.directory == 0;
    const fs::path source = isBig ? big : data / file.relative;
    const fs::path target = installed / file.relative;
    std::error_code ec;
    const uint64_t size = fs::file_size(target, ec);
    if (ec || size != fs::file_size(source)) throw std::runtime_error("not installed as made: " + target.string());
    if (full && !comparer.Same(source, target)) throw std::runtime_error("installed bytes differ: " + target.string());
  }
}

// How many of files a removal left in installed.
std::size_t CountLeft(const fs::path& installed, const std::vector<PayloadFile>& files) {
  std::size_t left = 0;
  for (const PayloadFile& file : files) left += fs::exists(installed / file.relative) ? 1 : 0;
  return left;
}

// --- measuring ---------------------------------------------------------------

struct Figures {
  std::string status;  // empty: measured
  double seconds = 0;
  double userSeconds = 0;
  double systemSeconds = 0;
  long peakKb = 0;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Each figure the median of its own over results.
Figures MedianOf(const std::vector<ChildResult>& results) {
  const auto median = [&](const std::function<double(const ChildResult&)>& field) {
    std::vector<double> values;
    for (const ChildResult& result : results) values.push_back(field(result));
    return Median(values);
  };
  Figures figures;
  figures.seconds = median([](const ChildResult& r) { return r.seconds; });
  figures.userSeconds = median([](const ChildResult& r) { return r.userSeconds; });
  figures.systemSeconds = median([](const ChildResult& r) { return r.systemSeconds; });
  figures.peakKb = static_cast<long>(median([](const ChildResult& r) { return static_cast<double>(r.peakKb); }));
  return figures;
}

// One installer as a child process that puts the product into a fresh target,
// or a removal that takes it out of a fresh copy of an installed one.
struct Installer {
  std::function<void()> prepare;  // makes the fresh target; not timed
  ChildCommand child;
  fs::path installed;  // where the product's files land (or are taken from)
  fs::path big;        // the file BIG.DAT must equal
  fs::path target;     // removed after every run
  const std::vector<PayloadFile>* files = nullptr;  // what it installs; null: the whole product
  bool removes = false;
  int runs = kRuns;
};

// Runs every installer its number of times, one run of each per round, so that a
// change in the machine's load falls on all of them alike. The first run of
// each is checked byte for byte, the others by name and size. An installer
// that ends well but leaves no file (a setup that does not copy yet) gets a
// status instead of figures.
std::vector<Figures> MeasureInRounds(const std::vector<Installer>& installers, const Product& product) {
  std::vector<std::vector<ChildResult>> results(installers.size());
  std::vector<Figures> figures(installers.size());
  for (int run = 0; run < kRuns; ++run) {
    for (std::size_t i = 0; i < installers.size(); ++i) {
      const Installer& installer = installers[i];
      if (run >= installer.runs || !figures[i].status.empty()) continue;
      installer.prepare();
      ::sync();
      const ChildResult result = RunTimed(installer.child);
      if (result.exitCode != 0) {
        fs::remove_all(installer.target);
        throw std::runtime_error(installer.child.argv[0] + " ended with status " + std::to_string(result.exitCode) +
                                 ": " + qmtest::ReadFileText(installer.child.stderrPath));
      }
      const std::vector<PayloadFile>& files = installer.files ? *installer.files : product.payload.files;
      if (installer.removes) {
        if (const std::size_t left = CountLeft(installer.installed, files); left > 0) {
          figures[i].status = "left " + std::to_string(left) + " of the product's files";
        } else {
          results[i].push_back(result);
        }
      } else if (fs::exists(installer.installed / files.front().relative)) {
        CheckInstalled(installer.installed, product, files, installer.big, run == 0);
        results[i].push_back(result);
      } else {
        figures[i].status = "installed nothing";
      }
      fs::remove_all(installer.target);
    }
    Progress("round " + std::to_string(run + 1) + " of " + std::to_string(kRuns) + " done");
  }
  for (std::size_t i = 0; i < installers.size(); ++i) {
    if (figures[i].status.empty()) figures[i] = MedianOf(results[i]);
  }
  return figures;
}

// Peak memory hardly varies from run to run: the memory rows' installers run
// once, which keeps the whole benchmark short.
Installer OnlyOnce(Installer installer) {
  installer.runs = 1;
  return installer;
}

Installer Installing(const std::vector<PayloadFile>& files, Installer installer) {
  installer.files = &files;
  return installer;
}

void RunOrThrow(const ChildCommand& command, const std::string& what) {
  if (RunTimed(command).exitCode != 0) {
    throw std::runtime_error(what + " failed: " + qmtest::ReadFileText(command.stderrPath));
  }
}

// The installers of the table, each with a target of its own under work.
class Installers {
 public:
  Installers(const fs::path& work, const Product& product) : work_(work), product_(product) {
    fs::create_directories(runtime_);
    fs::permissions(runtime_, fs::perms::owner_all, fs::perm_options::replace);
  }

  // The copy engine alone on a fresh machine.
  Installer CopyEngine(const Media& media, const fs::path& big) {
    Installer installer = OnFreshMachine(big);
    installer.child.argv = {(ProgramDirectory() / "install_copy_driver").string(), installer.target.string(),
                            media.disk1.string(), "SETUP.ini"};
    return installer;
  }

  // The whole setup program, started from disk 1, on a fresh machine: in a
  // batch run, or one that waits for a person on its pages (offscreen).
  Installer Setup(const Media& media, const fs::path& big, bool batch = true) {
    Installer installer = OnFreshMachine(big);
    installer.child.argv = {(media.disk1 / "SETUP.EXE").string()};
    if (batch) installer.child.argv.push_back("/B");
    installer.child.environment = {"QMSETUP_SYSTEM=" + installer.target.string(), "QT_QPA_PLATFORM=offscreen",
                                   "XDG_RUNTIME_DIR=" + runtime_.string()};
    return installer;
  }

  // A machine with the product installed by `qmsetup /B` from media (big its
  // BIG.DAT), and the removal program where the install registered it, to
  // copy for each removal. Our media carry no removal program: the built one
  // is put in.
  fs::path InstalledMachine(const Media& media, const fs::path& big) {
    Installer installer = Setup(media, big);
    installer.prepare();
    RunOrThrow(installer.child, "the install for the removal");
    CheckInstalled(installer.installed, product_, product_.payload.files, installer.big, false);
    CopyShippedProgram("unsetup", installer.installed / "UNSETUP.EXE");
    return installer.target;
  }

  // The registered removal command in a batch run, on a copy of machine.
  Installer Removal(const fs::path& machine) {
    Installer installer = CopyOf(machine, {});
    installer.installed = installer.target / "drive_c" / kInstallDirectory;
    installer.child.argv = {(fs::path(QM_BIN_DIR) / "qmtool").string(), "system", "run", "--root",
                            installer.target.string(), kRemovalCommand, "/B"};
    installer.child.environment = {"QMSETUP_REMOVAL_WAIT_MS=0", "QT_QPA_PLATFORM=offscreen",
                                   "XDG_RUNTIME_DIR=" + runtime_.string()};
    return installer;
  }

  // rm -rf of a copy of the install directory of machine.
  Installer RemoveTree(const fs::path& machine) {
    Installer installer = CopyOf(machine / "drive_c" / kInstallDirectory, kInstallDirectory);
    installer.installed = installer.target / kInstallDirectory;
    installer.child.argv = {"rm", "-rf", installer.installed.string()};
    return installer;
  }

  // tar with option ("-xf", "-xzf") into a fresh directory.
  Installer Tar(const fs::path& archive, const char* option) {
    Installer installer;
    installer.target = NextTarget();
    installer.installed = installer.target;
    installer.big = product_.tree / "data" / "BIG.DAT";
    installer.prepare = [target = installer.target] { fs::create_directories(target); };
    installer.child.argv = {"tar", option, archive.string(), "-C", installer.target.string()};
    installer.child.stderrPath = installer.target.string() + ".err";
    return installer;
  }

 private:
  Installer OnFreshMachine(const fs::path& big) {
    Installer installer;
    installer.target = NextTarget();
    installer.installed = installer.target / "drive_c" / kInstallDirectory;
    installer.big = big;
    installer.prepare = [root = installer.target, err = installer.target.string() + ".init.err"] {
      ChildCommand command;
      command.argv = {(fs::path(QM_BIN_DIR) / "qmtool").string(), "system", "init", "--root", root.string()};
      command.stderrPath = err;
      if (RunTimed(command).exitCode != 0) throw std::runtime_error("qmtool system init failed: " + ReadText(err));
    };
    installer.child.stderrPath = installer.target.string() + ".err";
    return installer;
  }

  // A fresh copy of original (cp -a: times and extended attributes kept) as
  // target/name, or as target itself when name is empty.
  Installer CopyOf(const fs::path& original, const fs::path& name) {
    Installer installer;
    installer.target = NextTarget();
    installer.removes = true;
    installer.prepare = [original, target = installer.target, name] {
      fs::create_directories(name.empty() ? target.parent_path() : target);
      ChildCommand command;
      command.argv = {"cp", "-a", original.string(), (name.empty() ? target : target / name).string()};
      command.stderrPath = target.string() + ".copy.err";
      RunOrThrow(command, "cp -a");
    };
    installer.child.stderrPath = installer.target.string() + ".err";
    return installer;
  }

  static std::string ReadText(const fs::path& file) { return qmtest::ReadFileText(file); }
  fs::path NextTarget() { return work_ / ("target" + std::to_string(++targets_)); }

  fs::path work_;
  const Product& product_;
  fs::path runtime_ = work_ / "runtime";
  int targets_ = 0;
};

// --- start-up ----------------------------------------------------------------

struct StartupFigures {
  Figures splash;   // to the splash page on screen (seconds only)
  Figures welcome;  // to the welcome page on screen; peak RSS once it waits
};

struct Startup {
  Figures bare;  // qmsetup --version: the program and its libraries loaded, nothing else
  std::vector<StartupFigures> media;
};

std::string PageLine(int page, const char* phase) { return "page " + std::to_string(page) + " " + phase; }

// The setup started from disk 1 of each medium in a run that waits for a
// person (offscreen) on a fresh machine, timed by its trace to its first two
// pages and killed once the welcome page waits; beside it the same program
// asked only for its version.
Startup MeasureStartup(Installers& make, const std::vector<const Media*>& media) {
  const std::vector<std::string> awaited = {PageLine(page_id::kSplash, "shown"), PageLine(page_id::kWelcome, "shown"),
                                            PageLine(page_id::kWelcome, "waiting")};
  std::vector<ChildResult> bare;
  std::vector<std::vector<double>> splash(media.size());
  std::vector<std::vector<double>> welcome(media.size());
  std::vector<std::vector<ChildResult>> waiting(media.size());
  for (int run = 0; run < kRuns; ++run) {
    ChildCommand version;
    version.argv = {(media.front()->disk1 / "SETUP.EXE").string(), "--version"};
    ::sync();
    bare.push_back(RunTimed(version));
    if (bare.back().exitCode != 0) throw std::runtime_error("SETUP.EXE --version failed");
    for (std::size_t m = 0; m < media.size(); ++m) {
      Installer setup = make.Setup(*media[m], {}, false);
      setup.prepare();
      const fs::path trace = setup.target.string() + ".trace";
      setup.child.environment.push_back("QMSETUP_TRACE=" + trace.string());
      ::sync();
      const TracedResult traced = RunUntilTraced(setup.child, trace, awaited, kStartTimeout);
      splash[m].push_back(traced.seconds[0]);
      welcome[m].push_back(traced.seconds[1]);
      waiting[m].push_back(traced.child);
      fs::remove_all(setup.target);
    }
    Progress("round " + std::to_string(run + 1) + " of the start-ups done");
  }
  Startup startup;
  startup.bare = MedianOf(bare);
  for (std::size_t m = 0; m < media.size(); ++m) {
    StartupFigures figures;
    figures.splash.seconds = Median(splash[m]);
    figures.welcome = MedianOf(waiting[m]);
    figures.welcome.seconds = Median(welcome[m]);
    startup.media.push_back(figures);
  }
  return startup;
}

// --- the report --------------------------------------------------------------

double Megabytes(long kb) { return kb * 1024.0 / kMB; }

std::string Ratio(const Figures& figures, const std::optional<Figures>& peer) {
  if (!peer || !peer->status.empty() || !figures.status.empty()) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.2fx", figures.seconds / peer->seconds);
  return text;
}

std::string PeakText(const Figures& figures) {
  if (!figures.status.empty()) return figures.status;
  if (figures.peakKb == 0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", Megabytes(figures.peakKb));
  return text;
}

void Row(const char* way, const char* media, const Figures& figures, uint64_t bytes, const std::optional<Figures>& tar,
         const std::optional<Figures>& tgz) {
  if (!figures.status.empty()) {
    std::printf("  %-24s %-7s %s\n", way, media, figures.status.c_str());
    return;
  }
  std::printf("  %-24s %-7s %8.3f %7.2f %7.2f %7.1f %10s %8s %9.1f\n", way, media, figures.seconds,
              figures.userSeconds, figures.systemSeconds, static_cast<double>(bytes) / kMB / figures.seconds,
              Ratio(figures, tar).c_str(), Ratio(figures, tgz).c_str(), Megabytes(figures.peakKb));
}

void Verdict(const char* what, bool met, const std::string& detail) {
  std::printf("  %-60s %-7s %s\n", what, met ? "met" : "MISSED", detail.c_str());
}

// The figures of MeasureInRounds, in the order RunBench lists the installers.
struct Measured {
  Figures tar;
  Figures tgz;
  Figures engineStored;
  Figures enginePacked;
  Figures setupStored;
  Figures setupPacked;
  Figures engineSmallerFile;
  Figures setupSmallerFile;
  Figures engineFewerFiles;
  Figures setupFewerFiles;
};

struct Removed {
  Figures removal;
  Figures rmTree;
  std::size_t files = 0;  // in the install directory
};

void PrintInstallers(const Measured& m, const Product& product, long floorKb) {
  std::printf("  %-24s %-7s %8s %7s %7s %7s %10s %8s %9s\n", "installer", "media", "seconds", "user", "sys", "MB/s",
              "vs tar -x", "vs -xzf", "peak RSS");
  const uint64_t bytes = product.payload.totalBytes;
  Row("copy engine", "stored", m.engineStored, bytes, m.tar, std::nullopt);
  Row("copy engine", "-lh5-", m.enginePacked, bytes, m.tar, m.tgz);
  Row("qmsetup /B", "stored", m.setupStored, bytes, m.tar, std::nullopt);
  Row("qmsetup /B", "-lh5-", m.setupPacked, bytes, m.tar, m.tgz);
  Row("tar -xf", "tar", m.tar, bytes, m.tar, std::nullopt);
  Row("tar -xzf", "tar.gz", m.tgz, bytes, m.tar, m.tgz);
  std::printf("  (seconds: wall time; user and sys: the child's CPU time. Peak RSS in MB from ru_maxrss;\n"
              "  a child started as these are shows %.1f MB doing nothing)\n\n",
              Megabytes(floorKb));
}

void PrintMemory(const Measured& m, const Product& product) {
  const uint64_t bigBytes = product.payload.files.back().bytes;
  const std::size_t smallFiles = product.payload.files.size() - 1;
  std::printf("  Memory: the same install (stored) with a smaller large file, then with fewer small files\n"
              "  as well, peak RSS in MB\n");
  std::printf("  %-28s %11s %10s %12s %12s\n", "install", "small files", "large MB", "copy engine", "qmsetup /B");
  const auto row = [](const char* what, std::size_t files, uint64_t bytes, const Figures& engine,
                      const Figures& setup) {
    std::printf("  %-28s %11zu %10.1f %12s %12s\n", what, files, bytes / kMB, PeakText(engine).c_str(),
                PeakText(setup).c_str());
  };
  row("the install above (median)", smallFiles, bigBytes, m.engineStored, m.setupStored);
  row("smaller large file (1 run)", smallFiles, product.memoryBigBytes, m.engineSmallerFile, m.setupSmallerFile);
  row("and fewer small files (1 run)", product.fewFiles.size() - 1, product.memoryBigBytes, m.engineFewerFiles,
      m.setupFewerFiles);
  std::printf("\n");
}

void PrintRemoval(const Removed& r, uint64_t bigBytes) {
  std::printf("  Removal of the stored install with the %.1f MB file (%zu files in C:\\%s), each from a fresh\n"
              "  copy of it\n",
              bigBytes / kMB, r.files, kInstallDirectory);
  std::printf("  %-36s %8s %7s %7s %9s %10s %9s\n", "remover", "seconds", "user", "sys", "files/s", "vs rm -rf",
              "peak RSS");
  const auto row = [&](const char* what, const Figures& figures) {
    if (!figures.status.empty()) {
      std::printf("  %-36s %s\n", what, figures.status.c_str());
      return;
    }
    std::printf("  %-36s %8.3f %7.2f %7.2f %9.0f %10s %9.1f\n", what, figures.seconds, figures.userSeconds,
                figures.systemSeconds, r.files / figures.seconds, Ratio(figures, r.rmTree).c_str(),
                Megabytes(figures.peakKb));
  };
  row("Unsetup.exe /B (unsetup, qmsetup /U)", r.removal);
  row("rm -rf of the install directory", r.rmTree);
  std::printf("  (the removal also takes the registry entries, the log and its own copy; it runs through\n"
              "  qmtool system run as the registered command does, and its peak RSS is its largest process)\n\n");
}

void PrintStartup(const Startup& s, const std::vector<std::size_t>& smallFiles) {
  std::printf("  Start-up: SETUP.EXE from disk 1 on a fresh machine, waiting for a person (offscreen),\n"
              "  time from its start until each page is on screen\n");
  std::printf("  %-36s %11s %8s %9s %9s\n", "up to", "small files", "seconds", "vs bare", "peak RSS");
  std::printf("  %-36s %11s %8.3f %9s %9s\n", "SETUP.EXE --version (the bare start)", "-", s.bare.seconds,
              Ratio(s.bare, s.bare).c_str(), PeakText(s.bare).c_str());
  for (std::size_t m = 0; m < s.media.size(); ++m) {
    std::printf("  %-36s %11zu %8.3f %9s %9s\n", "the splash page", smallFiles[m], s.media[m].splash.seconds,
                Ratio(s.media[m].splash, s.bare).c_str(), "-");
    std::printf("  %-36s %11zu %8.3f %9s %9s\n", "the welcome page (tables read)", smallFiles[m],
                s.media[m].welcome.seconds, Ratio(s.media[m].welcome, s.bare).c_str(),
                PeakText(s.media[m].welcome).c_str());
  }
  std::printf("  (peak RSS of the welcome rows: the run's, once that page waits)\n\n");
}

void SpeedVerdict(const char* what, const Figures& installer, const Figures& tar) {
  if (!installer.status.empty()) {
    Verdict(what, false, installer.status);
    return;
  }
  char detail[32];
  std::snprintf(detail, sizeof detail, "%.3fx", installer.seconds / tar.seconds);
  Verdict(what, installer.seconds / tar.seconds <= 1.2, detail);
}

// Equal up to page-level noise: four times the file, or a hundred times the
// files, may not cost even 2 MB more.
void MemoryVerdict(const char* what, const Figures& smaller, const Figures& larger) {
  if (!smaller.status.empty() || !larger.status.empty()) {
    Verdict(what, false, "not measured");
    return;
  }
  const long growth = larger.peakKb - smaller.peakKb;
  char detail[32];
  std::snprintf(detail, sizeof detail, "%+.1f MB", Megabytes(growth));
  Verdict(what, growth < 2048, detail);
}

void PrintTargets(const Measured& m) {
  std::printf("Targets\n");
  SpeedVerdict("copy engine, stored: at most 1.2x tar -xf", m.engineStored, m.tar);
  SpeedVerdict("qmsetup /B, stored: at most 1.2x tar -xf", m.setupStored, m.tar);
  MemoryVerdict("copy engine: peak memory independent of the file size", m.engineSmallerFile, m.engineStored);
  MemoryVerdict("qmsetup /B: peak memory independent of the file size", m.setupSmallerFile, m.setupStored);
  MemoryVerdict("copy engine: peak memory independent of the file count", m.engineFewerFiles, m.engineSmallerFile);
  MemoryVerdict("qmsetup /B: peak memory independent of the file count", m.setupFewerFiles, m.setupSmallerFile);
}

std::size_t CountFiles(const fs::path& directory) {
  std::size_t files = 0;
  for (const auto& item : fs::recursive_directory_iterator(directory)) files += item.is_regular_file() ? 1 : 0;
  return files;
}

int RunBench(const Settings& settings) {
  const auto start = std::chrono::steady_clock::now();
  const std::optional<qmtest::TempDir> temp =
      settings.keep ? std::nullopt : std::make_optional<qmtest::TempDir>("qm-bench-install");
  const fs::path work = temp ? temp->Path() : fs::temp_directory_path() / "qm-bench-install-kept";
  if (settings.keep) {
    fs::remove_all(work);
    fs::create_directories(work);
    std::printf("Work directory kept: %s\n", work.c_str());
  }
  const long floorKb = FloorKb();

  Progress("started");
  const Product product = MakeProduct(work, settings);
  Progress("product written");
  const Payload& payload = product.payload;
  std::printf("Install throughput: %zu small files (%.1f MB) in %d directories and one %.1f MB file, %.1f MB in all,\n",
              payload.files.size() - 1, (payload.totalBytes - payload.files.back().bytes) / kMB, product.directories,
              payload.files.back().bytes / kMB, payload.totalBytes / kMB);
  std::printf("written under %s; qmsetup installs its SETUP.EXE (%.1f MB, without debug information) as well\n",
              work.parent_path().c_str(), fs::file_size(product.tree / "setup" / "SETUP.EXE") / kMB);
  std::printf("(median of %d runs each, taken in rounds, sync before each, page cache warm; MB = 10^6 bytes)\n\n",
              kRuns);

  const Media stored = BuildMedia(work, "stored", product, payload.files, false, "data/BIG.DAT");
  const Media packed = BuildMedia(work, "lh5", product, payload.files, true, "data/BIG.DAT");
  const Media stored50 = BuildMedia(work, "stored50", product, payload.files, false, "data50/BIG.DAT");
  const Media few = BuildMedia(work, "few", product, product.fewFiles, false, "data50/BIG.DAT");
  Progress("media built");
  const fs::path tarFile = work / "payload.tar";
  const fs::path tgzFile = work / "payload.tar.gz";
  for (const auto& [file, option] : {std::pair{tarFile, "-cf"}, std::pair{tgzFile, "-czf"}}) {
    ChildCommand command;
    command.argv = {"tar", "--sort=name", option, file.string(), "-C", (product.tree / "data").string(), "."};
    if (RunTimed(command).exitCode != 0) throw std::runtime_error("tar " + std::string(option) + " failed");
  }
  Progress("tar and tar.gz written");
  std::printf("  media / archive                 bytes   %% of product   build s\n");
  for (const Media* media : {&stored, &packed}) {
    std::printf("  qmtool media build, %-7s %12llu %13.1f%% %9.1f\n", media->name.c_str(),
                static_cast<unsigned long long>(media->bytes), 100.0 * media->bytes / payload.totalBytes,
                media->buildSeconds);
  }
  for (const auto& [name, file] : {std::pair{"tar", tarFile}, std::pair{"tar.gz", tgzFile}}) {
    std::printf("  %-26s %12llu %13.1f%%\n", name, static_cast<unsigned long long>(fs::file_size(file)),
                100.0 * fs::file_size(file) / payload.totalBytes);
  }
  std::printf("\n");

  Installers make(work, product);
  const fs::path big = product.tree / "data" / "BIG.DAT";
  const std::vector<Figures> figures = MeasureInRounds(
      {make.Tar(tarFile, "-xf"), make.Tar(tgzFile, "-xzf"), make.CopyEngine(stored, big), make.CopyEngine(packed, big),
       make.Setup(stored, big), make.Setup(packed, big), OnlyOnce(make.CopyEngine(stored50, product.memoryBig)),
       OnlyOnce(make.Setup(stored50, product.memoryBig)),
       OnlyOnce(Installing(product.fewFiles, make.CopyEngine(few, product.memoryBig))),
       OnlyOnce(Installing(product.fewFiles, make.Setup(few, product.memoryBig)))},
      product);
  const Measured measured{figures[0], figures[1], figures[2], figures[3], figures[4],
                          figures[5], figures[6], figures[7], figures[8], figures[9]};
  PrintInstallers(measured, product, floorKb);
  PrintMemory(measured, product);
  std::fflush(stdout);

  // The smaller large file: what a removal does per file shows as well, and
  // copying the install for each run takes less time.
  const fs::path installedMachine = make.InstalledMachine(stored50, product.memoryBig);
  Progress("installed for the removal");
  const std::vector<Figures> removals =
      MeasureInRounds({make.Removal(installedMachine), make.RemoveTree(installedMachine)}, product);
  PrintRemoval({removals[0], removals[1], CountFiles(installedMachine / "drive_c" / kInstallDirectory)},
               product.memoryBigBytes);
  std::fflush(stdout);

  const Startup startup = MeasureStartup(make, {&stored, &few});
  PrintStartup(startup, {payload.files.size() - 1, product.fewFiles.size() - 1});

  PrintTargets(measured);
  std::printf("\n(the benchmark took %.0f s)\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return RunBench(ParseArguments(argc, argv));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_install: %s\n", error.what());
    return 1;
  }
}
