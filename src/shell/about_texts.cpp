#include "shell/about_texts.h"

#include <charconv>

namespace quorrel {

std::string VersionLabel(const std::string& fileVersion) {
  const std::size_t dot = fileVersion.rfind('.');
  if (dot == std::string::npos) return "Version " + fileVersion;
  return "Version " + fileVersion.substr(0, dot) + "  build " + fileVersion.substr(dot + 1);
}

OperatingSystem LinuxKernel(const std::string& release) {
  OperatingSystem system;
  system.family = OperatingSystem::Family::Linux;
  int* parts[] = {&system.major, &system.minor, &system.build};
  const char* position = release.data();
  const char* end = release.data() + release.size();
  for (int* part : parts) {
    const auto [next, error] = std::from_chars(position, end, *part);
    if (error != std::errc() || next == end || *next != '.') break;
    position = next + 1;
  }
  return system;
}

std::string OperatingSystemLabel(const OperatingSystem& system) {
  std::string family;
  switch (system.family) {
    case OperatingSystem::Family::Windows95: family = "Windows95 "; break;
    case OperatingSystem::Family::WindowsNT: family = "Windows NT "; break;
    case OperatingSystem::Family::Linux: family = "Linux "; break;
    case OperatingSystem::Family::Other: break;
  }
  return "Operating System: " + family + std::to_string(system.major) + "." +
         std::to_string(system.minor) + " build " + std::to_string(system.build);
}

}  // namespace quorrel
