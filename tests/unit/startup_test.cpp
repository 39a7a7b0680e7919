// Start-up against a driver installation laid out in a scratch folder: the registry value, the two
// folders, the application list and the settings file's fallback. Message boxes are answered by the
// test application itself, which records their texts.
#include "compound_file.h"

#include "app/tolvan_app.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvan::test {
namespace {

constexpr char kDriverKey[] = "Software\\Kelto\\Tolvan";

class CTestApp : public CTolvanApp {
public:
    using CTolvanApp::CTolvanApp;
    std::vector<std::string> messages;
    std::vector<UINT> styles;
    bool reachedMainWindow = false;
    bool realMainWindow = false;

    int ShowMessage(HWND, const char* text, UINT style) override {
        messages.emplace_back(text);
        styles.push_back(style);
        return IDOK;
    }

protected:
    ExitCode RunMainWindow() override {
        reachedMainWindow = true;
        return realMainWindow ? CTolvanApp::RunMainWindow() : kExitClosed;
    }
};

std::string StringText(UINT id) {
    char text[260] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

bool IsFile(const std::string& path) {
    const DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

class StartupTest : public testing::Test {
protected:
    ScratchFolder scratch;
    std::string windows = scratch.File("Windows");
    std::string driver = windows + "\\Twain_32\\ZezoRiz6\\Tolvan";
    std::string appData = scratch.File("AppData");
    std::string user = appData + "\\Kelto\\Tolvan";

    void SetUp() override {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kDriverKey);
        for (const std::string& folder :
             {windows, windows + "\\Twain_32", windows + "\\Twain_32\\ZezoRiz6", driver, appData})
            ::CreateDirectoryA(folder.c_str(), nullptr);
        for (const char* name : {"APInfo.dll", "APInfo.dat", "MultiLng.dll", "Tolvan.msg", "Tolvan.dat"})
            ASSERT_TRUE(::CopyFileA((std::string(TOLVAN_DRIVER_PACKAGE) + "\\" + name).c_str(),
                                    (driver + "\\" + name).c_str(), FALSE))
                << name;
    }
    void TearDown() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, kDriverKey); }

    SystemFacts Facts(bool nt = true) const {
        SystemFacts facts;
        facts.programPath = driver + "\\Tolvan.exe";
        facts.windowsFolder = windows;
        facts.appDataFolder = appData;
        facts.ntFamily = nt;
        return facts;
    }

    static std::string PathValue() {
        char value[512] = {};
        DWORD size = sizeof value;
        if (::RegGetValueA(HKEY_CURRENT_USER, kDriverKey, "Path", RRF_RT_REG_SZ, nullptr, value, &size) !=
            ERROR_SUCCESS)
            return "<none>";
        return value;
    }
    static void SetPathValue(const std::string& value) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kDriverKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
        ::RegCloseKey(key);
    }
};

TEST_F(StartupTest, FirstRunForANewUser) {
    CTestApp app(Facts());
    app.InitInstance();
    EXPECT_TRUE(app.reachedMainWindow);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(PathValue(), "ZezoRiz6");

    char folder[260];
    app.GetDriverFolder(folder);
    EXPECT_EQ(std::string(folder), driver);
    app.GetUserFolder(folder);
    EXPECT_EQ(std::string(folder), user);
    EXPECT_EQ(FileBytes(user + "\\APInfo.dat"), FileBytes(driver + "\\APInfo.dat"));
    EXPECT_TRUE(IsFile(user + "\\InApInfo.dat"));
    EXPECT_NE(app.GetSharedFont(), nullptr);

    // The settings file comes from the template the first time it is opened.
    EXPECT_EQ(app.OpenSettingsFile(StgMode::kReadWrite), S_OK);
    EXPECT_EQ(app.GetSettingsStore()->Close(), S_OK);
    EXPECT_EQ(FileBytes(user + "\\Tolvan.dat"), FileBytes(driver + "\\Tolvan.dat"));
    EXPECT_EQ(app.ExitInstance(), 0);
}

TEST_F(StartupTest, TheApplicationInfoModuleLoadsOncePerStartAndGoesWithItsEnd) {
    const std::string dll = driver + "\\APInfo.dll";
    CTestApp app(Facts());
    app.InitInstance();
    ASSERT_TRUE(app.reachedMainWindow);
    // The pages list their applications with the module start-up searched with: it is still loaded, and every
    // page gets the same one.
    EXPECT_NE(::GetModuleHandleA(dll.c_str()), nullptr);
    std::shared_ptr<CApInfoModule> emailPage = app.ShareApInfoModule(dll.c_str());
    std::shared_ptr<CApInfoModule> officePage = app.ShareApInfoModule(dll.c_str());
    ASSERT_NE(emailPage, nullptr);
    EXPECT_EQ(officePage, emailPage);
    emailPage.reset();
    officePage.reset();
    EXPECT_NE(::GetModuleHandleA(dll.c_str()), nullptr);
    // Once start-up is over nothing keeps it.
    app.EndStartup();
    EXPECT_EQ(::GetModuleHandleA(dll.c_str()), nullptr);
    EXPECT_EQ(app.ExitInstance(), 0);
}

TEST_F(StartupTest, PathValueOfTheDriverFolder) {
    struct Case {
        std::string stored;
        std::string expected;
    };
    const Case cases[] = {
        {std::string(127, 'p'), std::string(127, 'p')}, // the longest value the buffer holds
        {std::string(128, 'p'), "ZezoRiz6"},
        {std::string(300, 'p'), "ZezoRiz6"},
        {"", "ZezoRiz6"},
        {"OtherDriver", "OtherDriver"},
    };
    for (const Case& c : cases) {
        SetPathValue(c.stored);
        CTestApp app(Facts());
        app.InitInstance();
        EXPECT_EQ(PathValue(), c.expected) << c.stored.size();
        char folder[260];
        app.GetDriverFolder(folder);
        const std::string wanted = windows + "\\Twain_32\\" + c.expected + "\\Tolvan";
        // A folder that does not fit the 260-byte buffer is left empty rather than cut.
        EXPECT_EQ(std::string(folder), wanted.size() < 260 ? wanted : "") << c.stored.size();
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kDriverKey);
    }
}

TEST_F(StartupTest, ApplicationListFailuresEndStartUpWithMessage1022) {
    const std::string expected = StringText(IDS_START_FAILED);
    struct Case {
        const char* name;
        void (*breakIt)(const std::string& driver);
    };
    const Case cases[] = {
        {"missing module", [](const std::string& d) { ::DeleteFileA((d + "\\APInfo.dll").c_str()); }},
        {"module without the exports",
         [](const std::string& d) {
             ::CopyFileA((d + "\\MultiLng.dll").c_str(), (d + "\\APInfo.dll").c_str(), FALSE);
         }},
        {"no catalogue to install", [](const std::string& d) { ::DeleteFileA((d + "\\APInfo.dat").c_str()); }},
    };
    for (const Case& c : cases) {
        c.breakIt(driver);
        {
            CTestApp app(Facts());
            app.InitInstance();
            EXPECT_FALSE(app.reachedMainWindow) << c.name;
            ASSERT_EQ(app.messages.size(), 1u) << c.name;
            EXPECT_EQ(app.messages[0], expected);
            EXPECT_EQ(app.styles[0], static_cast<UINT>(MB_TOPMOST | MB_ICONERROR));
            EXPECT_EQ(app.ExitInstance(), kExitNoApplicationList) << c.name;
        }
        SetUp(); // put the installation back for the next case, once the modules are unloaded
    }
}

// The real main window, run modally: without any settings file to read it ends before it is shown, and the
// program's exit code says so rather than reporting a run.
TEST_F(StartupTest, AMainWindowThatEndsUnseenEndsTheProgramWithAFailureCode) {
    ASSERT_TRUE(::DeleteFileA((driver + "\\Tolvan.dat").c_str()));
    CTestApp app(Facts());
    app.realMainWindow = true;
    app.InitInstance();
    EXPECT_TRUE(app.reachedMainWindow);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_NE(app.messages[0].find("Tolvan.dat"), std::string::npos) << app.messages[0];
    EXPECT_EQ(app.ExitInstance(), kExitMainWindowGaveUp);
}

TEST_F(StartupTest, RejectedUserCatalogueIsReplacedAndKept) {
    ::CreateDirectoryA((appData + "\\Kelto").c_str(), nullptr);
    ::CreateDirectoryA(user.c_str(), nullptr);
    const Bytes damaged(700, 0x5A);
    ASSERT_TRUE(WriteFileBytes(user + "\\APInfo.dat", damaged));
    CTestApp app(Facts());
    app.InitInstance();
    EXPECT_TRUE(app.reachedMainWindow);
    EXPECT_EQ(FileBytes(user + "\\APInfo.dat"), FileBytes(driver + "\\APInfo.dat"));
    EXPECT_EQ(FileBytes(user + "\\APInfo.dat.bak"), damaged);
    EXPECT_TRUE(IsFile(user + "\\InApInfo.dat"));
}

TEST_F(StartupTest, OtherSystemsKeepUserFilesInTheDriverFolder) {
    CTestApp app(Facts(/*nt=*/false));
    app.InitInstance();
    EXPECT_TRUE(app.reachedMainWindow);
    char folder[260];
    app.GetUserFolder(folder);
    EXPECT_EQ(std::string(folder), driver);
    EXPECT_TRUE(IsFile(driver + "\\InApInfo.dat"));
    EXPECT_EQ(::GetFileAttributesA(user.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(StartupTest, WithoutAProgramFolderNameThereIsNoDriverFolder) {
    SystemFacts facts = Facts();
    facts.programPath = "C:\\Tolvan.exe";
    CTestApp app(facts);
    app.InitInstance();
    char folder[260];
    app.GetDriverFolder(folder);
    EXPECT_STREQ(folder, "");
    app.GetUserFolder(folder);
    EXPECT_EQ(std::string(folder), appData + "\\Kelto");
    EXPECT_FALSE(app.reachedMainWindow);
    EXPECT_EQ(app.messages.size(), 1u);
}

// Without a folder given by the test, the per-user folder lies in the application-data folder the system names for
// this user (Wine hands the same one to every process as APPDATA); the two folders below it are not made here.
TEST_F(StartupTest, TheUserFolderLiesInTheSystemsApplicationDataFolder) {
    char system[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableA("APPDATA", system, sizeof system), 0u);
    const std::string name = "Tolvan-" + std::to_string(::GetCurrentProcessId());
    SystemFacts facts = Facts();
    facts.appDataFolder.clear();
    struct Case {
        std::string programPath;
        std::string expected;
    };
    const Case cases[] = {
        {"C:\\Program Files\\" + name + "\\Tolvan.exe", std::string(system) + "\\Kelto\\" + name},
        {"C:\\Tolvan.exe", std::string(system) + "\\Kelto"}, // no program folder name
    };
    for (const Case& c : cases) {
        facts.programPath = c.programPath;
        const CAppServices services(facts);
        char folder[260];
        services.GetUserFolder(folder);
        EXPECT_EQ(_stricmp(folder, c.expected.c_str()), 0) << folder << " for " << c.programPath;
    }
    EXPECT_EQ(::GetFileAttributesA((std::string(system) + "\\Kelto\\" + name).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(StartupTest, AUserFolderTooLongForItsBufferFailsCleanly) {
    SystemFacts facts = Facts();
    facts.appDataFolder = appData + "\\" + std::string(240, 'a');
    CTestApp app(facts);
    app.InitInstance();
    char folder[260];
    app.GetUserFolder(folder);
    EXPECT_STREQ(folder, "");
    EXPECT_FALSE(app.reachedMainWindow);
    EXPECT_EQ(app.messages.size(), 1u);
}

class SettingsFileTest : public StartupTest {
protected:
    std::string file = user + "\\Tolvan.dat";
    void SetUp() override {
        StartupTest::SetUp();
        ::CreateDirectoryA((appData + "\\Kelto").c_str(), nullptr);
        ::CreateDirectoryA(user.c_str(), nullptr);
    }
    std::string ExpectedMessage() const {
        std::string text = StringText(IDS_SETTINGS_FILE_FAILED);
        return text.replace(text.find("%s"), 2, "Tolvan.dat");
    }
};

TEST_F(SettingsFileTest, DamagedFileIsKeptAsBackupAndReplacedByTheTemplate) {
    const Bytes damaged(5000, 0x33);
    ASSERT_TRUE(WriteFileBytes(file, damaged));
    CTestApp app(Facts());
    app.InitInstance();
    EXPECT_EQ(app.OpenSettingsFile(StgMode::kReadWrite), S_OK);
    app.GetSettingsStore()->Close();
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(FileBytes(file), FileBytes(driver + "\\Tolvan.dat"));
    EXPECT_EQ(FileBytes(file + ".bak"), damaged);

    // A second damage keeps the first backup and adds another.
    const Bytes again(100, 0x44);
    ASSERT_TRUE(WriteFileBytes(file, again));
    EXPECT_EQ(app.OpenSettingsFile(StgMode::kReadWrite), S_OK);
    app.GetSettingsStore()->Close();
    EXPECT_EQ(FileBytes(file + ".bak"), damaged);
    EXPECT_EQ(FileBytes(file + ".1.bak"), again);
}

TEST_F(SettingsFileTest, ReadOnlyFileOpensWithTheUsersOwnSettings) {
    WriteSettingsFile(file, {0x100, 0x40});
    const Bytes mine = FileBytes(file);
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    CTestApp app(Facts());
    app.InitInstance();
    EXPECT_EQ(app.OpenSettingsFile(StgMode::kReadWrite), S_OK);
    app.GetSettingsStore()->Close();
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(FileBytes(file), mine);
    EXPECT_EQ(::GetFileAttributesA(file.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(::GetFileAttributesA((file + ".bak").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFileTest, LockedFileOrNoTemplateEndsInMessage141) {
    WriteSettingsFile(file, {0x100});
    const Bytes mine = FileBytes(file);
    CTestApp app(Facts());
    app.InitInstance();
    {
        UniqueFile other(::CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(other);
        EXPECT_LT(app.OpenSettingsFile(StgMode::kReadWrite), 0);
    }
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0], ExpectedMessage());
    EXPECT_EQ(app.styles[0], static_cast<UINT>(MB_TOPMOST | MB_ICONERROR));
    EXPECT_EQ(FileBytes(file), mine);

    ::DeleteFileA(file.c_str());
    ::DeleteFileA((driver + "\\Tolvan.dat").c_str());
    EXPECT_LT(app.OpenSettingsFile(StgMode::kReadWrite), 0);
    EXPECT_EQ(app.messages.size(), 2u);
}

} // namespace
} // namespace tolvan::test
