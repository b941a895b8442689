#include "platform/core/fault_injection.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <string>

namespace platform::fault_detail {
namespace {

struct FaultPlan {
  bool enabled = false;
  std::uint64_t failAt = 0;  // 0: none
  int error = 0;
  const char* countFile = nullptr;  // the environment's own text, which outlives every caller
  std::mutex mutex;
  std::uint64_t counted = 0;
};

int ErrorOfKind(std::string_view kind) {
  if (kind == "enospc") return ENOSPC;
  if (kind == "eio") return EIO;
  if (kind == "eacces") return EACCES;
  return 0;
}

// "N:KIND"; a malformed value injects nothing, so a typing error cannot pass
// for a run that survived its fault unless the count shows it.
void ParseFault(const char* text, FaultPlan& plan) {
  const std::string_view value(text);
  const std::size_t colon = value.find(':');
  if (colon == std::string_view::npos) return;
  const std::string number(value.substr(0, colon));
  char* end = nullptr;
  const unsigned long long n = std::strtoull(number.c_str(), &end, 10);
  const int error = ErrorOfKind(value.substr(colon + 1));
  if (number.empty() || *end != '\0' || n == 0 || error == 0) return;
  plan.failAt = n;
  plan.error = error;
}

// Nothing in the plan needs destroying, so fault points stay safe during exit.
FaultPlan& Plan() {
  static FaultPlan plan;
  static const bool loaded = [] {
    if (const char* fault = std::getenv("QMSETUP_FAULT")) ParseFault(fault, plan);
    plan.countFile = std::getenv("QMSETUP_FAULT_COUNT");
    if (plan.countFile != nullptr && *plan.countFile == '\0') plan.countFile = nullptr;
    plan.enabled = plan.failAt != 0 || plan.countFile != nullptr;
    return true;
  }();
  (void)loaded;
  return plan;
}

// One line per operation, appended with raw calls so that it counts nothing.
void Trace(const char* file, std::uint64_t n, std::string_view operation, std::string_view name) {
  const int fd = ::open(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return;
  const std::string line = std::to_string(::getpid()) + " " + std::to_string(n) + " " + std::string(operation) + " " +
                           std::string(name) + "\n";
  (void)!::write(fd, line.data(), line.size());
  ::close(fd);
}

}  // namespace

bool Enabled() { return Plan().enabled; }

int Count(std::string_view operation, std::string_view name) {
  FaultPlan& plan = Plan();
  const std::lock_guard<std::mutex> lock(plan.mutex);
  const std::uint64_t n = ++plan.counted;
  if (plan.countFile != nullptr) Trace(plan.countFile, n, operation, name);
  return n == plan.failAt ? plan.error : 0;
}

}  // namespace platform::fault_detail
