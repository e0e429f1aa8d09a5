// The hover sound's real player: winmm comes from the system folder by its full path, never from
// beside the program or from the current folder.
#include "controls/Effects.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <string>

namespace {

const char kChildFlag[] = "CONTROLS_PLANTED_CHILD";

std::string SystemWinmmPath() {
    char dir[MAX_PATH] = "";
    ::GetSystemDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\winmm.dll";
}

std::string LoadedWinmmPath() {
    HMODULE h = ::GetModuleHandleA("winmm.dll");
    char path[MAX_PATH] = "";
    if (h)
        ::GetModuleFileNameA(h, path, MAX_PATH);
    return path;
}

bool SamePath(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

TEST(SoundPlayer, LoadsWinmmFromTheSystemFolder) {
    // No audio device under the test display: the call returns at once.
    PlaySoundFile("no-such-sound.wav");
    EXPECT_TRUE(SamePath(LoadedWinmmPath(), SystemWinmmPath())) << LoadedWinmmPath();
}

// Runs in a copy of this program beside a planted winmm.dll, with another one in the current
// folder, and Wine told to prefer native DLLs: whichever planted copy loads leaves a marker.
TEST(PlantedSound, ChildProcess) {
    if (!::GetEnvironmentVariableA(kChildFlag, nullptr, 0))
        GTEST_SKIP()
            << "runs only as the child of PlantedSound.NeitherCopyBesideTheProgramNorInTheCurrentFolder";
    PlaySoundFile("no-such-sound.wav");
    EXPECT_TRUE(SamePath(LoadedWinmmPath(), SystemWinmmPath())) << LoadedWinmmPath();
}

std::string DosPath(const char* unixPath) {
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

TEST(PlantedSound, NeitherCopyBesideTheProgramNorInTheCurrentFolder) {
    if (::GetEnvironmentVariableA(kChildFlag, nullptr, 0))
        GTEST_SKIP();
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string root =
        std::string(temp) + "controls_planted_" + std::to_string(::GetCurrentProcessId());
    const std::string appDir = root + "\\app";
    const std::string cwdDir = root + "\\cwd";
    const std::string marker = root + "\\planted-winmm-loaded";
    const std::string planted = DosPath(PLANTED_WINMM_PATH);
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string child = appDir + "\\controls_tests.exe";

    ASSERT_TRUE(::CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(appDir.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(cwdDir.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileA(self, child.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(planted.c_str(), (appDir + "\\winmm.dll").c_str(), FALSE)) << planted;
    ASSERT_TRUE(::CopyFileA(planted.c_str(), (cwdDir + "\\winmm.dll").c_str(), FALSE));

    // The child inherits this environment plus its own settings.
    ::SetEnvironmentVariableA(kChildFlag, "1");
    ::SetEnvironmentVariableA("PLANTED_WINMM_MARKER", marker.c_str());
    char overrides[512] = "";
    ::GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    const std::string previousOverrides = overrides;
    ::SetEnvironmentVariableA("WINEDLLOVERRIDES", (previousOverrides + ";winmm=n,b").c_str());

    std::string commandLine = "\"" + child + "\" --gtest_filter=PlantedSound.ChildProcess";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const BOOL started = ::CreateProcessA(child.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                          cwdDir.c_str(), &si, &pi);
    ::SetEnvironmentVariableA(kChildFlag, nullptr);
    ::SetEnvironmentVariableA("PLANTED_WINMM_MARKER", nullptr);
    ::SetEnvironmentVariableA("WINEDLLOVERRIDES",
                              previousOverrides.empty() ? nullptr : previousOverrides.c_str());
    ASSERT_TRUE(started);
    EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(pi.hProcess, &exitCode);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);

    EXPECT_EQ(exitCode, 0u) << "the child's own checks";
    EXPECT_EQ(::GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES)
        << "a planted winmm.dll was loaded";

    for (const std::string& file : {marker, child, appDir + "\\winmm.dll", cwdDir + "\\winmm.dll"})
        ::DeleteFileA(file.c_str());
    ::RemoveDirectoryA(appDir.c_str());
    ::RemoveDirectoryA(cwdDir.c_str());
    ::RemoveDirectoryA(root.c_str());
}

} // namespace
