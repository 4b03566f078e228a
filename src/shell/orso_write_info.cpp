#include "shell/orso_write_info.h"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <ctime>

namespace quorrel {

OrsoWriteInfo CurrentOrsoWriteInfo(const std::string& softwareVersion,
                                   const std::string& sampleName, const std::string& dataFile,
                                   Radiation radiation) {
  OrsoWriteInfo info;
  const char* user = std::getenv("USER");
  info.creator = user && *user ? user : "unknown";
  std::array<char, 256> host{};
  if (gethostname(host.data(), host.size() - 1) == 0) info.computer = host.data();
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::array<char, 32> stamp{};
  std::strftime(stamp.data(), stamp.size(), "%Y-%m-%dT%H:%M:%S", &local);
  info.timestamp = stamp.data();
  info.softwareVersion = softwareVersion;
  info.sampleName = sampleName;
  info.dataFile = dataFile;
  info.radiation = radiation;
  return info;
}

}  // namespace quorrel
