// Pure rules on paths, shared by the program and the native tests.
#pragma once
#include <string>

namespace fw {
// The instance name of a program: its file name without the folder (either slash) and without the
// extension, that is everything from the last full stop of the file name on.
// "D:\\Setup.exe" -> "Setup"; "setup.v2.exe" -> "setup.v2"; "Setup" -> "Setup".
std::string InstanceNameFromPath(const std::string& path);
} // namespace fw
