#pragma once
// The texts of the about box that are made from the version record and the operating system.

#include <string>

namespace quorrel {

//! "Version " and the file version without its last dot-separated part, then "  build " and
//! that part: "1.6.0.242" gives "Version 1.6.0  build 242".
std::string VersionLabel(const std::string& fileVersion);

//! The operating system as the about box names it.
struct OperatingSystem {
  enum class Family { Windows95, WindowsNT, Linux, Other };
  Family family = Family::Other;
  int major = 0;
  int minor = 0;
  int build = 0;
};

//! The numbers of a Linux kernel release such as "6.1.0-18-amd64": major 6, minor 1 and
//! build 0 (the third number). Parts that are missing read as 0.
OperatingSystem LinuxKernel(const std::string& release);

//! "Operating System: ", the family ("Windows95 ", "Windows NT ", "Linux ", nothing for
//! others), then major "." minor " build " build.
std::string OperatingSystemLabel(const OperatingSystem& system);

}  // namespace quorrel
