// APInfo.dll through the program's loader, in the call orders the program uses: the search for
// installed programs (registry, own folder, system folders), listing by category, adding and
// removing a user application, and what damaged or missing files do. Every test works in its own
// scratch folder and registry key, so the tests can run side by side.
#include "application_list_file.h"
#include "compound_file.h"

#include "driver/apinfo/ap_file_format.h"
#include "driver/apinfo/ap_list.h"
#include "modules/apinfo_module.h"
#include "settings/fixed_string.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace tolvan::test {
namespace {

using namespace apinfo;

constexpr char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

ApEntry MakeEntry(uint32_t category, uint16_t id, const char* name, const char* program, const std::string& folder,
                  bool shipped = true) {
    ApEntry e{};
    e.wApSize = kApEntrySize;
    e.dwApCategory = category;
    e.dwJobMask = 0x1;
    e.dwApOptions = shipped ? ApOption::kShipped : 0;
    e.dwFormats = shipped ? 0x9 : 0x7F;
    e.dwFormat = 0x1;
    e.wApId = id;
    WriteField(e.szApName, name);
    WriteField(e.szExeName, program);
    WriteField(e.szExeDir, folder);
    WriteField(e.szExt, ".BMP");
    e.wReserved = static_cast<uint16_t>(id ^ 0x5A5A); // carried through untouched
    return e;
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string SystemFolder() {
    char buffer[MAX_PATH] = {};
    ::GetSystemDirectoryA(buffer, MAX_PATH);
    return buffer;
}

class ApInfoModuleTest : public testing::Test {
protected:
    ScratchFolder scratch;
    std::string catalogue = scratch.File("APInfo.dat");
    std::string installed = scratch.File("InApInfo.dat");
    CApInfoModule module;

    void SetUp() override { ASSERT_TRUE(module.Load(TOLVAN_APINFO_DLL)); }

    // A file that stands in for a program, in a folder of its own below the scratch folder.
    std::string MakeProgram(const char* folder, const char* name) {
        const std::string dir = scratch.File(folder);
        ::CreateDirectoryA(dir.c_str(), nullptr);
        EXPECT_TRUE(WriteFileBytes(dir + "\\" + name, Bytes{'M', 'Z'})) << dir;
        return dir;
    }

    std::vector<ApEntry> List(uint32_t category) {
        std::vector<ApEntry> found;
        EXPECT_EQ(module.OpenApFile(installed.c_str(), OpenMode::kList), S_OK);
        ApEntry entry;
        for (HRESULT hr = module.FindFirst(&entry, category); SUCCEEDED(hr); hr = module.FindNext(&entry))
            found.push_back(entry);
        EXPECT_EQ(module.CloseFile(), S_OK);
        return found;
    }
};

TEST_F(ApInfoModuleTest, LoadingNeedsAnAbsolutePathAndEveryExport) {
    const ApEntry entry = MakeEntry(Category::kDestination, 1, "A", "a.exe", "");
    const std::vector<std::string> refused = {
        "APInfo.dll",                      // relative: would be searched for
        scratch.File("NoSuchModule.dll"),  // missing
        TOLVAN_APINFO_INCOMPLETE_DLL,      // lacks Index2Info
        SystemFolder() + "\\kernel32.dll", // another module altogether
    };
    for (const std::string& path : refused) {
        EXPECT_FALSE(module.Load(path.c_str())) << path;
        EXPECT_FALSE(module.IsLoaded());
        // Without a context the loader answers every call itself.
        EXPECT_EQ(module.SearchInstalledAp(catalogue.c_str(), installed.c_str()), E_FAIL);
        EXPECT_EQ(module.OpenApFile(catalogue.c_str(), OpenMode::kList), E_FAIL);
        ApEntry out;
        EXPECT_EQ(module.FindFirst(&out, 0), E_FAIL);
        EXPECT_EQ(module.FindNext(&out), E_FAIL);
        EXPECT_EQ(module.WriteApInfo(&entry), E_FAIL);
        EXPECT_EQ(module.DeleteApInfo(Category::kDestination, "A"), E_FAIL);
        EXPECT_EQ(module.CloseFile(), E_FAIL);
    }
    EXPECT_FALSE(module.Load(nullptr));
    ASSERT_TRUE(module.Load(TOLVAN_APINFO_DLL));
    EXPECT_TRUE(module.Load(TOLVAN_APINFO_DLL)) << "loading again replaces the first load";
    module.Unload();
    EXPECT_EQ(module.CloseFile(), E_FAIL);
    module.Unload(); // twice is harmless
}

class AppPathsKey {
public:
    AppPathsKey(const std::string& program, const std::string& value, DWORD type) : m_key(kAppPaths + program) {
        HKEY key = nullptr;
        EXPECT_EQ(
            ::RegCreateKeyExA(HKEY_CURRENT_USER, m_key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        const UniqueRegKey owned(key);
        EXPECT_EQ(::RegSetValueExA(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1)),
                  ERROR_SUCCESS);
    }
    ~AppPathsKey() { ::RegDeleteKeyA(HKEY_CURRENT_USER, m_key.c_str()); }
    AppPathsKey(const AppPathsKey&) = delete;
    AppPathsKey& operator=(const AppPathsKey&) = delete;

private:
    std::string m_key;
};

TEST_F(ApInfoModuleTest, SearchListsExactlyTheProgramsFoundAndWhere) {
    const std::string pid = std::to_string(::GetCurrentProcessId());
    const std::string registered = "tolvan-registered-" + pid + ".exe";
    const std::string expanded = "tolvan-expanded-" + pid + ".exe";
    const std::string registeredDir = MakeProgram("registered", registered.c_str());
    const std::string expandedDir = MakeProgram("expanded", expanded.c_str());
    const std::string hintedDir = MakeProgram("hinted", "tolvan-hinted.exe");
    const std::string toolsDir = MakeProgram("tools", "viewer.exe");
    const AppPathsKey quoted(registered, "\"" + registeredDir + "\\" + registered + "\"", REG_SZ);
    ::SetEnvironmentVariableA("TOLVAN_TEST_PROGRAMS", scratch.Path().c_str());
    const AppPathsKey variable(expanded, "%TOLVAN_TEST_PROGRAMS%\\expanded\\" + expanded, REG_EXPAND_SZ);

    const std::vector<ApEntry> entries = {
        MakeEntry(Category::kDocument, 1, "System editor", "notepad.exe", ""),
        MakeEntry(Category::kDocument, 2, "Accessory", "wordpad.exe", ""), // in a well-known program folder
        MakeEntry(Category::kDestination, 3, "Registered", registered.c_str(), "C:\\Nowhere\\"),
        MakeEntry(Category::kDestination, 4, "Registered, expanded", expanded.c_str(), ""),
        MakeEntry(Category::kDestination, 5, "Missing", "tolvan-missing.exe", ""),
        MakeEntry(Category::kDestination, 6, "Hinted", "tolvan-hinted.exe", hintedDir),
        MakeEntry(Category::kDestination, kUserAppId, "Viewer", "viewer.exe", toolsDir + "\\", false),
        // A user's entry counts only where it says, even for a program that is installed elsewhere.
        MakeEntry(Category::kDestination, kUserAppId, "Moved", "notepad.exe", scratch.File("gone\\"), false),
        MakeEntry(Category::kDestination, 7, "A path, not a name", "..\\notepad.exe", SystemFolder()),
    };
    WriteApplicationList(catalogue, entries);
    const Bytes catalogueBefore = FileBytes(catalogue);

    ASSERT_EQ(module.SearchInstalledAp(catalogue.c_str(), installed.c_str()), S_OK);
    const std::vector<ApEntry> found = ReadApplicationList(installed);
    ASSERT_EQ(Names(found), (std::vector<std::string>{"System editor", "Accessory", "Registered",
                                                      "Registered, expanded", "Hinted", "Viewer"}));
    const std::string expectedDirs[] = {
        SystemFolder() + "\\", "C:\\Program Files\\Windows NT\\Accessories\\",
        registeredDir + "\\",  expandedDir + "\\",
        hintedDir + "\\",      toolsDir + "\\",
    };
    const std::size_t from[] = {0, 1, 2, 3, 5, 6};
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_TRUE(SameName(ReadField(found[i].szExeDir), expectedDirs[i]))
            << found[i].szApName << ": " << found[i].szExeDir;
        // Apart from the folder, each entry is the catalogue's, byte for byte.
        ApEntry expected = entries[from[i]];
        std::memcpy(expected.szExeDir, found[i].szExeDir, sizeof expected.szExeDir);
        EXPECT_EQ(std::memcmp(&found[i], &expected, kApEntrySize), 0) << found[i].szApName;
    }
    EXPECT_EQ(FileBytes(catalogue), catalogueBefore);
    EXPECT_FALSE(Exists(installed + ".new"));
    ::SetEnvironmentVariableA("TOLVAN_TEST_PROGRAMS", nullptr);
}

// Points an environment variable elsewhere for one test.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name) {
        char old[MAX_PATH] = {};
        const DWORD n = ::GetEnvironmentVariableA(name, old, sizeof old);
        m_had = n > 0 && n < sizeof old;
        m_old = m_had ? old : "";
        ::SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedVariable() { ::SetEnvironmentVariableA(m_name, m_had ? m_old.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::string m_old;
    bool m_had = false;
};

TEST_F(ApInfoModuleTest, ShippedCatalogueFindsTheProgramsWhereTheirInstallersPutThem) {
    ASSERT_TRUE(::CopyFileA(TOLVAN_APINFO_CATALOGUE, catalogue.c_str(), FALSE));
    const auto search = [&] {
        EXPECT_EQ(module.SearchInstalledAp(catalogue.c_str(), installed.c_str()), S_OK);
        std::vector<std::pair<uint16_t, std::string>> found;
        for (const ApEntry& e : ReadApplicationList(installed))
            found.emplace_back(e.wApId, ReadField(e.szExeDir));
        return found;
    };
    std::vector<uint16_t> ids;
    for (const auto& [id, folder] : search())
        ids.push_back(id);
    // Wine has the editors and the browser; it has no Paint, mail program, fax viewer, recognition program or
    // spreadsheet program.
    EXPECT_EQ(ids, (std::vector<uint16_t>{4109, 4111, 4158, 4160}));

    // Tesseract as its 32-bit installer leaves it, and Excel as an Office installation of its own lays it out.
    const std::string programs = scratch.File("Program Files");
    const std::string programs32 = scratch.File("Program Files (x86)");
    for (const std::string& folder : {programs + "\\Microsoft Office\\Office16", programs32 + "\\Tesseract-OCR"}) {
        ASSERT_TRUE(std::filesystem::create_directories(folder)) << folder;
        ASSERT_TRUE(
            WriteFileBytes(folder + "\\" + (folder.ends_with("OCR") ? "tesseract.exe" : "EXCEL.EXE"), Bytes{'M', 'Z'}));
    }
    const ScopedVariable programFiles("ProgramFiles", programs);
    const ScopedVariable programFiles32("ProgramFiles(x86)", programs32);
    const std::vector<std::pair<uint16_t, std::string>> found = search();
    ids.clear();
    for (const auto& [id, folder] : found)
        ids.push_back(id);
    ASSERT_EQ(ids, (std::vector<uint16_t>{4107, 4108, 4109, 4110, 4111, 4158, 4160}));
    EXPECT_TRUE(SameName(found[0].second, programs32 + "\\Tesseract-OCR\\")) << found[0].second;
    EXPECT_TRUE(SameName(found[1].second, programs32 + "\\Tesseract-OCR\\")) << found[1].second;
    EXPECT_TRUE(SameName(found[3].second, programs + "\\Microsoft Office\\Office16\\")) << found[3].second;
}

TEST_F(ApInfoModuleTest, ListingByCategory) {
    const std::vector<ApEntry> entries = {
        MakeEntry(Category::kMail, 4005, "Mail", "a.exe", "C:\\A\\"),
        MakeEntry(Category::kDestination, 4157, "Paint", "b.exe", "C:\\B\\"),
        MakeEntry(Category::kDocument, 4111, "Notepad", "c.exe", "C:\\C\\"),
        MakeEntry(Category::kDestination, 4158, "Viewer", "d.exe", "C:\\D\\"),
    };
    WriteApplicationList(installed, entries);
    const Bytes before = FileBytes(installed);

    EXPECT_EQ(Names(List(Category::kDestination)), (std::vector<std::string>{"Paint", "Viewer"}));
    EXPECT_EQ(Names(List(Category::kMail)), (std::vector<std::string>{"Mail"}));
    EXPECT_TRUE(List(Category::kRecognition).empty());

    ASSERT_EQ(module.OpenApFile(installed.c_str(), OpenMode::kList), S_OK);
    ApEntry entry;
    std::memset(&entry, 0xEE, sizeof entry);
    ASSERT_EQ(module.FindFirst(&entry, Category::kDocument), S_OK);
    EXPECT_EQ(std::memcmp(&entry, &entries[2], kApEntrySize), 0) << "the whole buffer is the entry";
    EXPECT_EQ(module.FindNext(&entry), kNoMoreEntries);
    EXPECT_EQ(module.FindNext(&entry), kNoMoreEntries) << "stays at the end";
    EXPECT_EQ(module.FindFirst(nullptr, Category::kDocument), E_POINTER);
    // A list opened for listing takes no changes.
    EXPECT_EQ(module.WriteApInfo(&entries[0]), E_ACCESSDENIED);
    EXPECT_EQ(module.DeleteApInfo(Category::kMail, "Mail"), E_ACCESSDENIED);
    EXPECT_EQ(module.CloseFile(), S_OK);
    EXPECT_EQ(FileBytes(installed), before);
}

TEST_F(ApInfoModuleTest, AddingAndRemovingAUserApplication) {
    const std::string toolsDir = MakeProgram("tools", "viewer.exe");
    WriteApplicationList(catalogue, {MakeEntry(Category::kDocument, 4111, "System editor", "notepad.exe", "")});
    ASSERT_EQ(module.SearchInstalledAp(catalogue.c_str(), installed.c_str()), S_OK);
    ASSERT_EQ(Names(ReadApplicationList(installed)), (std::vector<std::string>{"System editor"}));

    const ApEntry user =
        MakeEntry(Category::kDestination, kUserAppId, "My Viewer", "viewer.exe", toolsDir + "\\", false);
    ASSERT_EQ(module.OpenApFile(catalogue.c_str(), OpenMode::kChange), S_OK);
    ASSERT_EQ(module.WriteApInfo(&user), S_OK);
    ASSERT_EQ(module.CloseFile(), S_OK);
    EXPECT_FALSE(Exists(catalogue + ".new"));
    const std::vector<ApEntry> withUser = ReadApplicationList(catalogue);
    ASSERT_EQ(withUser.size(), 2u);
    EXPECT_EQ(std::memcmp(&withUser[1], &user, kApEntrySize), 0);
    ASSERT_EQ(module.SearchInstalledAp(catalogue.c_str(), installed.c_str()), S_OK);
    EXPECT_EQ(Names(ReadApplicationList(installed)), (std::vector<std::string>{"System editor", "My Viewer"}));

    // Adding the same name again replaces the entry rather than listing it twice.
    ApEntry changed = user;
    changed.dwFormat = 0x8;
    ASSERT_EQ(module.OpenApFile(catalogue.c_str(), OpenMode::kChange), S_OK);
    ASSERT_EQ(module.WriteApInfo(&changed), S_OK);
    ASSERT_EQ(module.CloseFile(), S_OK);
    ASSERT_EQ(ReadApplicationList(catalogue).size(), 2u);
    EXPECT_EQ(uint32_t{ReadApplicationList(catalogue)[1].dwFormat}, 0x8u);

    ASSERT_EQ(module.OpenApFile(catalogue.c_str(), OpenMode::kChange), S_OK);
    EXPECT_EQ(module.DeleteApInfo(Category::kDestination, "Nobody"), kEntryNotFound);
    ASSERT_EQ(module.DeleteApInfo(Category::kDestination, "MY VIEWER"), S_OK);
    ASSERT_EQ(module.CloseFile(), S_OK);
    EXPECT_EQ(Names(ReadApplicationList(catalogue)), (std::vector<std::string>{"System editor"}));
    ASSERT_EQ(module.SearchInstalledAp(catalogue.c_str(), installed.c_str()), S_OK);
    EXPECT_EQ(Names(ReadApplicationList(installed)), (std::vector<std::string>{"System editor"}));
}

TEST_F(ApInfoModuleTest, RefusedChangesLeaveTheFileAsItWas) {
    WriteApplicationList(catalogue, {MakeEntry(Category::kDestination, 4157, "Paint", "mspaint.exe", "")});
    const Bytes before = FileBytes(catalogue);
    ASSERT_EQ(module.OpenApFile(catalogue.c_str(), OpenMode::kChange), S_OK);

    ApEntry unterminated = MakeEntry(Category::kDestination, kUserAppId, "X", "x.exe", "C:\\X\\", false);
    std::memset(unterminated.szApName, 'n', sizeof unterminated.szApName);
    EXPECT_EQ(module.WriteApInfo(&unterminated), E_INVALIDARG);
    ApEntry wrongSize = MakeEntry(Category::kDestination, kUserAppId, "X", "x.exe", "C:\\X\\", false);
    wrongSize.wApSize = 1134;
    EXPECT_EQ(module.WriteApInfo(&wrongSize), E_INVALIDARG);
    EXPECT_EQ(module.WriteApInfo(nullptr), E_POINTER);
    char longName[300];
    std::memset(longName, 'n', sizeof longName);
    longName[299] = '\0';
    EXPECT_EQ(module.DeleteApInfo(Category::kDestination, longName), E_INVALIDARG) << "longer than any name";
    EXPECT_EQ(module.DeleteApInfo(0, "Paint"), E_INVALIDARG);
    EXPECT_EQ(module.DeleteApInfo(Category::kDestination, nullptr), E_POINTER);
    EXPECT_EQ(module.OpenApFile(catalogue.c_str(), OpenMode::kChange), kWrongState) << "one file at a time";
    ASSERT_EQ(module.CloseFile(), S_OK);
    EXPECT_EQ(FileBytes(catalogue), before);
    EXPECT_EQ(module.CloseFile(), S_FALSE) << "nothing open";
}

TEST_F(ApInfoModuleTest, UnloadingWritesBackAnOpenChange) {
    WriteApplicationList(catalogue, {});
    ASSERT_EQ(module.OpenApFile(catalogue.c_str(), OpenMode::kChange), S_OK);
    const ApEntry user = MakeEntry(Category::kDestination, kUserAppId, "Viewer", "v.exe", "C:\\V\\", false);
    ASSERT_EQ(module.WriteApInfo(&user), S_OK);
    module.Unload();
    EXPECT_EQ(Names(ReadApplicationList(catalogue)), (std::vector<std::string>{"Viewer"}));
}

TEST_F(ApInfoModuleTest, DamagedOrMissingCatalogueWritesNothing) {
    WriteApplicationList(catalogue, {MakeEntry(Category::kDocument, 4111, "System editor", "notepad.exe", "")});
    const Bytes good = FileBytes(catalogue);
    WriteApplicationList(installed, {MakeEntry(Category::kMail, 4005, "Earlier result", "a.exe", "C:\\A\\")});
    const Bytes earlier = FileBytes(installed);

    Bytes flipped = good;
    flipped[200] ^= 0x01;
    Bytes otherVersion = good;
    otherVersion[4] = 2;
    const Bytes cases[] = {
        Bytes(good.begin(), good.end() - 1), flipped, otherVersion, Bytes(700, 0x5A), Bytes{},
    };
    for (const Bytes& damaged : cases) {
        ASSERT_TRUE(WriteFileBytes(catalogue, damaged));
        const HRESULT hr = module.SearchInstalledAp(catalogue.c_str(), installed.c_str());
        EXPECT_TRUE(FAILED(hr)) << damaged.size();
        EXPECT_EQ(FileBytes(installed), earlier) << damaged.size();
        EXPECT_EQ(module.OpenApFile(catalogue.c_str(), OpenMode::kChange), hr) << "opening fails the same way";
        EXPECT_EQ(module.OpenApFile(catalogue.c_str(), OpenMode::kList), hr);
    }
    EXPECT_EQ(module.OpenApFile(catalogue.c_str(), OpenMode::kList), kFileDamaged);

    ::DeleteFileA(catalogue.c_str());
    ::DeleteFileA(installed.c_str());
    EXPECT_EQ(module.SearchInstalledAp(catalogue.c_str(), installed.c_str()), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(Exists(installed));
    // The program copies the driver's catalogue in place and opens again when this fails.
    EXPECT_TRUE(FAILED(module.OpenApFile(catalogue.c_str(), OpenMode::kChange)));
    EXPECT_FALSE(Exists(installed + ".new"));
}

TEST_F(ApInfoModuleTest, WritesReplaceTheFileWhole) {
    WriteApplicationList(catalogue, {MakeEntry(Category::kDocument, 4111, "System editor", "notepad.exe", "")});
    // A shadow left by an interrupted earlier write is simply replaced.
    ASSERT_TRUE(WriteFileBytes(installed + ".new", Bytes(50, 0x11)));
    ASSERT_EQ(module.SearchInstalledAp(catalogue.c_str(), installed.c_str()), S_OK);
    EXPECT_FALSE(Exists(installed + ".new"));
    EXPECT_EQ(ReadApplicationList(installed).size(), 1u);

    // The result never goes over the catalogue, however the path is spelled.
    std::string sameFile = catalogue;
    sameFile.replace(sameFile.size() - 10, 10, "apinfo.DAT");
    EXPECT_EQ(module.SearchInstalledAp(catalogue.c_str(), sameFile.c_str()), E_INVALIDARG);
    EXPECT_EQ(ReadApplicationList(catalogue).size(), 1u);

    // A read-only list is not changed, and an open for changing says so at once.
    const Bytes before = FileBytes(installed);
    ::SetFileAttributesA(installed.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(module.SearchInstalledAp(catalogue.c_str(), installed.c_str()), E_ACCESSDENIED);
    EXPECT_EQ(module.OpenApFile(installed.c_str(), OpenMode::kChange), E_ACCESSDENIED);
    EXPECT_EQ(FileBytes(installed), before);
    ::SetFileAttributesA(installed.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(module.OpenApFile(installed.c_str(), 0x13), E_INVALIDARG) << "no such access";
    EXPECT_EQ(module.OpenApFile(installed.c_str(), 0x1010), E_INVALIDARG) << "creation is not offered";
    EXPECT_EQ(module.OpenApFile("", OpenMode::kList), E_INVALIDARG);
    EXPECT_EQ(module.OpenApFile(nullptr, OpenMode::kList), E_POINTER);
    EXPECT_EQ(module.SearchInstalledAp(catalogue.c_str(), nullptr), E_POINTER);
}

// The exports that the program resolves but never calls, reached directly.
TEST(ApInfoExports, CallsTheProgramDoesNotMake) {
    ScratchFolder scratch;
    const std::string file = scratch.File("APInfo.dat");
    const std::vector<ApEntry> entries = {
        MakeEntry(Category::kMail, 4005, "Mail", "a.exe", "C:\\A\\"),
        MakeEntry(Category::kDestination, 4157, "Paint", "b.exe", "C:\\B\\"),
        MakeEntry(Category::kDestination, 4158, "Viewer", "c.exe", "C:\\C\\"),
    };
    WriteApplicationList(file, entries);

    const UniqueModule dll(::LoadLibraryA(TOLVAN_APINFO_DLL));
    ASSERT_TRUE(dll);
    const auto get = [&](const char* name, auto& fn) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(
            reinterpret_cast<void*>(::GetProcAddress(dll.Get(), name)));
        ASSERT_NE(fn, nullptr) << name;
    };
    NewApInfoFn newApInfo;
    FreeApInfoFn freeApInfo;
    OpenApFileFn open;
    CloseFileFn close;
    FindFirstFn findFirst;
    FindNextFn findNext;
    ReadApInfoFn read;
    EndFindFn endFind;
    SetJobApInfoFn setJob;
    Index2InfoFn atIndex;
    get("NewApInfo", newApInfo);
    get("FreeApInfo", freeApInfo);
    get("OpenApFile", open);
    get("CloseFile", close);
    get("FindFirst", findFirst);
    get("FindNext", findNext);
    get("ReadApInfo", read);
    get("EndFind", endFind);
    get("SetJobApInfo", setJob);
    get("Index2Info", atIndex);

    ApInfoHandle handle = nullptr;
    ASSERT_EQ(newApInfo(&handle), S_OK);
    ASSERT_EQ(open(handle, file.c_str(), OpenMode::kChange), S_OK);
    ApEntry entry;
    ASSERT_EQ(read(handle, &entry, Category::kDestination, 4158), S_OK);
    EXPECT_STREQ(entry.szApName, "Viewer");
    EXPECT_EQ(read(handle, &entry, Category::kMail, 4158), kEntryNotFound);
    ASSERT_EQ(atIndex(handle, 1, &entry), S_OK);
    EXPECT_STREQ(entry.szApName, "Paint");
    EXPECT_EQ(atIndex(handle, 3, &entry), kNoMoreEntries);

    ASSERT_EQ(findFirst(handle, &entry, Category::kDestination), S_OK);
    EXPECT_EQ(endFind(handle), S_OK);
    EXPECT_EQ(findNext(handle, &entry), kNoMoreEntries) << "the enumeration has ended";

    EXPECT_EQ(setJob(handle, Category::kDestination, 4157, 0x1001), S_OK);
    EXPECT_EQ(setJob(handle, Category::kDestination, 4999, 0x1), kEntryNotFound);
    ASSERT_EQ(close(handle), S_OK);
    EXPECT_EQ(uint32_t{ReadApplicationList(file)[1].dwJobMask}, 0x1001u);

    ApInfoHandle stale = handle;
    ASSERT_EQ(freeApInfo(&handle), S_OK);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(close(stale), E_HANDLE) << "a freed context is refused, not followed";
    EXPECT_EQ(freeApInfo(&stale), E_HANDLE);
    EXPECT_EQ(close(nullptr), E_HANDLE);
    EXPECT_EQ(newApInfo(nullptr), E_POINTER);
}

} // namespace
} // namespace tolvan::test
