// A DLL dropped beside setup.exe under the name of a DLL the system loads
// on demand (uxtheme.dll, loaded when the first page is drawn) must never
// be loaded into setup.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

using driver::WinePath;

struct PlantedFolder {
    std::string folder;

    explicit PlantedFolder(const std::string &name)
        : folder("C:\\planting\\" + name)
    {
        CreateDirectoryA("C:\\planting", NULL);
        CreateDirectoryA(folder.c_str(), NULL);
        DeleteFileA(Marker().c_str());
        EXPECT_TRUE(CopyFileA(WinePath(PLANTED_DLL).c_str(), (folder + "\\uxtheme.dll").c_str(), FALSE));
    }
    std::string Marker() const { return folder + "\\loaded.marker"; }
    bool PlantedDllWasLoaded() const { return GetFileAttributesA(Marker().c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::string Place(const std::string &unixPath, const std::string &name) const
    {
        std::string target = folder + "\\" + name;
        EXPECT_TRUE(CopyFileA(WinePath(unixPath).c_str(), target.c_str(), FALSE));
        return target;
    }
};

// Lets a native uxtheme.dll win over Wine's own, as a real one would on
// Windows, so that only the search order decides which one is loaded.
class DllPlanting : public ::testing::Test {
protected:
    static constexpr const char *OVERRIDES = "Software\\Wine\\DllOverrides";

    void SetUp() override
    {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, OVERRIDES, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL), ERROR_SUCCESS);
        static const char order[] = "native,builtin";
        RegSetValueExA(key, "uxtheme", 0, REG_SZ, reinterpret_cast<const BYTE *>(order), sizeof order);
        RegCloseKey(key);
    }
    void TearDown() override
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, OVERRIDES, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "uxtheme");
            RegCloseKey(key);
        }
    }
};

TEST_F(DllPlanting, TheControlProgramLoadsADllPlantedBesideIt)
{
    PlantedFolder planted("control");
    driver::Process control;
    ASSERT_TRUE(control.Start(planted.Place(UNHARDENED_PROGRAM, "control.exe")));
    ASSERT_EQ(control.WaitForExit(), 0u);
    EXPECT_TRUE(planted.PlantedDllWasLoaded()) << "this Wine does not load DLLs from a program's folder, so the setup case below shows nothing";
}

TEST_F(DllPlanting, SetupNeverLoadsADllPlantedBesideIt)
{
    PlantedFolder planted("setup");
    driver::Process setup;
    ASSERT_TRUE(setup.Start(planted.Place(SETUP_EXE, "setup.exe")));
    HWND page = driver::WaitForWindow(setup.Id(), "Zentrobel FULL VERSION - Welcome");
    ASSERT_NE(page, (HWND)NULL);
    driver::PressKey(page, VK_ESCAPE);
    EXPECT_EQ(setup.WaitForExit(), static_cast<DWORD>(-1));
    EXPECT_FALSE(planted.PlantedDllWasLoaded());
}

}  // namespace
