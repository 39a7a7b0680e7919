// Damaged per-user settings files through the program's own start-up path: the main window built on a driver
// installation, reading the file as tab building does. Every file is made here from the driver's template,
// damaged at offsets found by parsing it, and each is a test process of its own under a watchdog, so a file
// that would hang the program fails its own case by name. For each: the window is built (with the file as it
// is, or with the template in its place), and whatever the user's file held survives, in the file or byte for
// byte in its backup.
#include "main_window_host.h"
#include "settings_content.h"

#include "res/resource.h"
#include "settings/compound_file_check.h"
#include "settings/job_table.h"
#include "tests/native/compound_file_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <random>

namespace tolvan::test {
namespace {

enum class Outcome {
    kOpens,    // the file is used as it is
    kReplaced, // the file is kept as a backup and the driver's template takes its place
};

// What a case starts from: the template's content and its bytes as written here, and a view to find offsets.
struct Base {
    SettingsContent content;
    Bytes image;
};

using View = CompoundImageView;

void SetFat(Bytes& file, const View& view, uint32_t sector, uint32_t value) {
    Put32(file, view.FatEntryAt(sector), value);
}

uint32_t Start(const View& view, uint32_t id) {
    return view.Link(id, entry::kStartSector);
}

uint32_t JobEntry(const View& view, uint32_t mask) {
    return view.Find(JobStreamName(mask));
}

// Fills an element's name field with 32 characters and no terminator, and says so in its length.
void UnterminatedName(Bytes& file, const View& view, uint32_t id) {
    for (std::size_t i = 0; i < 64; i += 2)
        Put16(file, view.EntryAt(id) + i, static_cast<uint16_t>('N'));
    Put16(file, view.EntryAt(id) + entry::kNameLength, 64);
}

Bytes Random(std::size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(random());
    return bytes;
}

// Letters only: a field without its terminator that a page might take for a path must not name real folders.
template <std::size_t N> void FillWithoutTerminator(char (&field)[N], char letter) {
    std::memset(field, letter, N);
}

void ChangeRecord(Base& base, uint32_t mask, const std::function<void(JobRecord&)>& change) {
    Bytes& stream = base.content.jobs.at(mask);
    JobRecord record = StoredRecord(stream);
    change(record);
    StoreRecord(stream, record);
}

Bytes WithRecord(Base& base, uint32_t mask, const std::function<void(JobRecord&)>& change) {
    ChangeRecord(base, mask, change);
    return base.content.Image();
}

Bytes WithStream(Base& base, uint32_t mask, std::size_t size) {
    base.content.jobs.at(mask).resize(size);
    return base.content.Image();
}

// What a page shows of a record, checked while the window is there.
using PageCheck = std::function<void(const MainWindowRun&)>;

struct Case {
    const char* name;
    std::function<Bytes(Base&)> make; // the damaged file; may change base.content to tell what it holds
    Outcome outcome;
    PageCheck check = nullptr;
};

std::string ControlText(const CJobPage* page, int id) {
    char text[2048] = {};
    ::GetDlgItemTextA(page->Handle(), id, text, sizeof text);
    return text;
}

const Case kCases[] = {
    // Not a compound file, or not a whole one.
    {"ZeroLength", [](Base&) { return Bytes{}; }, Outcome::kReplaced},
    {"RandomBytes", [](Base& b) { return Random(b.image.size(), 7); }, Outcome::kReplaced},
    {"RandomBytesBehindTheHeader",
     [](Base& b) {
         const Bytes noise = Random(b.image.size(), 8);
         std::copy(noise.begin() + 512, noise.end(), b.image.begin() + 512);
         return b.image;
     },
     Outcome::kReplaced},
    {"TruncatedInTheHeader", [](Base& b) { return Bytes(b.image.begin(), b.image.begin() + 300); }, Outcome::kReplaced},
    {"TruncatedToTheHeaderSector", [](Base& b) { return Bytes(b.image.begin(), b.image.begin() + 512); },
     Outcome::kReplaced},
    {"TruncatedToHalf", [](Base& b) { return Bytes(b.image.begin(), b.image.begin() + b.image.size() / 1024 * 512); },
     Outcome::kReplaced},
    // The last byte of its last stream is missing (a file without the last sector's padding alone is whole).
    {"TruncatedIntoItsLastStream",
     [](Base& b) { return Bytes(b.image.begin(), b.image.begin() + View(b.image).DataEnd() - 1); }, Outcome::kReplaced},

    // Chains that loop or leave the file.
    {"FatCycleInTheMiniStream",
     [](Base& b) {
         const View v(b.image);
         const auto chain = v.Chain(Start(v, 0));
         SetFat(b.image, v, chain.back(), chain.front());
         return b.image;
     },
     Outcome::kReplaced},
    {"FatCycleInTheDirectory",
     [](Base& b) {
         const View v(b.image);
         const auto chain = v.DirectoryChain();
         SetFat(b.image, v, chain.back(), chain.front());
         return b.image;
     },
     Outcome::kReplaced},
    {"MiniFatCycleInAJobStream",
     [](Base& b) {
         const View v(b.image);
         const auto chain = v.MiniChain(Start(v, JobEntry(v, JobMask::kFile)));
         Put32(b.image, v.MiniFatEntryAt(chain.back()), chain.front());
         return b.image;
     },
     Outcome::kReplaced},
    {"MiniSectorLinksToItself",
     [](Base& b) {
         const View v(b.image);
         const uint32_t first = Start(v, JobEntry(v, JobMask::kEmail));
         Put32(b.image, v.MiniFatEntryAt(first), first);
         return b.image;
     },
     Outcome::kReplaced},
    {"SectorIndexPastTheFile",
     [](Base& b) {
         const View v(b.image);
         SetFat(b.image, v, Start(v, 0), v.SectorCount() + 100);
         return b.image;
     },
     Outcome::kReplaced},
    {"FatSectorPastTheFile",
     [](Base& b) {
         Put32(b.image, header::kDifat, 0xFFFFFF00);
         return b.image;
     },
     Outcome::kReplaced},
    {"DirectoryStartPastTheFile",
     [](Base& b) {
         const View v(b.image);
         Put32(b.image, header::kFirstDirectorySector, v.SectorCount() + 3);
         return b.image;
     },
     Outcome::kReplaced},
    {"MiniStreamStartPastTheMiniStream",
     [](Base& b) {
         const View v(b.image);
         Put32(b.image, v.EntryAt(JobEntry(v, JobMask::kFile)) + entry::kStartSector,
               static_cast<uint32_t>(v.Size(0) / 64 + 10));
         return b.image;
     },
     Outcome::kReplaced},

    // The directory tree.
    {"DirectoryCycleThroughAParent",
     [](Base& b) {
         const View v(b.image);
         // "Setting" holds its own model storage.
         Put32(b.image, v.EntryAt(v.Find("Setting")) + entry::kChild, v.Find(b.content.model));
         return b.image;
     },
     Outcome::kReplaced},
    {"EntryIsItsOwnSibling",
     [](Base& b) {
         const View v(b.image);
         const uint32_t id = JobEntry(v, JobMask::kCopy);
         Put32(b.image, v.EntryAt(id) + entry::kRight, id);
         return b.image;
     },
     Outcome::kReplaced},
    {"SiblingPastTheDirectory",
     [](Base& b) {
         const View v(b.image);
         Put32(b.image, v.EntryAt(JobEntry(v, JobMask::kCopy)) + entry::kLeft, v.EntryCount() + 40);
         return b.image;
     },
     Outcome::kReplaced},

    // The header's geometry.
    {"WrongSectorSize",
     [](Base& b) {
         const View v(b.image);
         Put16(b.image, header::kSectorShift, v.MajorVersion() == 3 ? 12 : 9);
         return b.image;
     },
     Outcome::kReplaced},
    {"WrongVersionForTheSectorSize",
     [](Base& b) {
         const View v(b.image);
         Put16(b.image, header::kMajorVersion, v.MajorVersion() == 3 ? 4 : 3);
         return b.image;
     },
     Outcome::kReplaced},

    // Names.
    {"UnterminatedModelName",
     [](Base& b) {
         const View v(b.image);
         UnterminatedName(b.image, v, v.Find(b.content.model));
         return b.image;
     },
     Outcome::kReplaced},
    {"UnterminatedJobStreamName",
     [](Base& b) {
         const View v(b.image);
         UnterminatedName(b.image, v, JobEntry(v, JobMask::kFile));
         return b.image;
     },
     Outcome::kReplaced},
    {"NameLengthPastItsField",
     [](Base& b) {
         const View v(b.image);
         Put16(b.image, v.EntryAt(v.Find("SpecInfo")) + entry::kNameLength, 0x80);
         return b.image;
     },
     Outcome::kReplaced},

    // Whole compound files that lack what the program reads: they cannot be used, so they are treated as
    // damaged.
    {"NoModelStorage",
     [](Base&) {
         ScratchFolder folder;
         const std::string file = folder.File("root.dat");
         CompoundFileBuilder(file).Stream({"Notes"}, Bytes(40, 'n')).Finish();
         return FileBytes(file);
     },
     Outcome::kReplaced},
    {"MissingSpecInfo",
     [](Base& b) {
         b.content.specInfo.reset();
         return b.content.Image();
     },
     Outcome::kReplaced},
    {"MissingSetting",
     [](Base& b) {
         b.content.jobs.clear();
         b.content.proBtn = false;
         return b.content.Image();
     },
     Outcome::kReplaced},
    {"MissingJobStream",
     [](Base& b) {
         b.content.jobs.erase(JobMask::kCopy);
         return b.content.Image();
     },
     Outcome::kReplaced},
    {"SpecInfoOf13Bytes",
     [](Base& b) {
         b.content.specInfo->resize(13);
         return b.content.Image();
     },
     Outcome::kReplaced},
    {"SpecInfoOf15Bytes",
     [](Base& b) {
         b.content.specInfo->push_back(0);
         return b.content.Image();
     },
     Outcome::kReplaced},

    // Records the store reads as far as they go; the pages take them as read.
    {"JobStreamOf0Bytes", [](Base& b) { return WithStream(b, JobMask::kRAvud, 0); }, Outcome::kOpens},
    {"JobStreamOf1Byte", [](Base& b) { return WithStream(b, JobMask::kRAvud, 1); }, Outcome::kOpens},
    {"JobStreamOf20Bytes", [](Base& b) { return WithStream(b, JobMask::kRAvud, 20); }, Outcome::kOpens},
    {"JobStreamOf1133Bytes", [](Base& b) { return WithStream(b, JobMask::kRAvud, 1133); }, Outcome::kOpens},
    {"FileJobStreamOf20Bytes", [](Base& b) { return WithStream(b, JobMask::kFile, 20); }, Outcome::kOpens},
    {"AbsurdCopyBlobLength",
     [](Base& b) {
         Bytes& stream = b.content.jobs.at(JobMask::kCopy);
         stream.resize(kJobRecordSize);
         for (uint8_t i = 1; i <= 20; ++i)
             stream.push_back(i);
         return WithRecord(b, JobMask::kCopy, [](JobRecord& r) { r.ap.dwExtraLen = 0xFFFFFFF0; });
     },
     Outcome::kOpens},
    // The stored length one more than the bytes behind the record: the page takes the bytes there are.
    {"OfficeBlobLengthOneMoreThanStored",
     [](Base& b) {
         const std::size_t behind = b.content.jobs.at(JobMask::kOffice).size() - kJobRecordSize;
         return WithRecord(b, JobMask::kOffice,
                           [behind](JobRecord& r) { r.ap.dwExtraLen = static_cast<uint32_t>(behind + 1); });
     },
     Outcome::kOpens},
    {"AbsurdOfficeBlobLength",
     [](Base& b) { return WithRecord(b, JobMask::kOffice, [](JobRecord& r) { r.ap.dwExtraLen = 0xFFFFFFF0; }); },
     Outcome::kOpens},
    {"StringsWithoutTerminators",
     [](Base& b) {
         for (const JobInfo& job : kJobs) {
             ChangeRecord(b, job.mask, [](JobRecord& r) {
                 FillWithoutTerminator(r.ap.szApName, 'A');
                 FillWithoutTerminator(r.ap.szExeName, 'E');
                 FillWithoutTerminator(r.ap.szExeDir, 'D');
                 FillWithoutTerminator(r.ap.szFolder, 'F');
                 FillWithoutTerminator(r.ap.szFilePrefix, 'P');
                 FillWithoutTerminator(r.ap.szExt, 'X');
             });
         }
         return b.content.Image();
     },
     Outcome::kOpens,
     [](const MainWindowRun& run) {
         // The File page shows folder, prefix and extension as they stand, each ending with its field.
         EXPECT_EQ(ControlText(run.Tabs().Page(JobMask::kFile), IDS_TARGET_PATH),
                   std::string(260, 'F') + std::string(260, 'P') + std::string(8, 'X'));
     }},
    {"ValuesOutsideTheTables",
     [](Base& b) {
         for (const JobInfo& job : kJobs) {
             ChangeRecord(b, job.mask, [](JobRecord& r) {
                 r.bColorModes = 0xF8;
                 r.wColorMode = 3;
                 r.wDefColorMode = 0x40;
                 r.wResolution = 77;
                 r.wDefResolution = 65535;
                 r.ap.dwFormats = 0xFFFFFFFF;
                 r.ap.dwFormat = 0x80000000;
                 r.ap.wQuality = 5000;
                 r.ap.wApId = 0xFFFF;
             });
         }
         return b.content.Image();
     },
     Outcome::kOpens,
     [](const MainWindowRun& run) {
         // A resolution outside the four leaves the slider where it starts and its caption empty.
         const CJobPage* page = run.Tabs().Page(JobMask::kFile);
         EXPECT_EQ(ControlText(page, IDC_RESOLUTION_CAPTION), "");
         EXPECT_EQ(page->Working().wResolution, 77);
     }},
};

std::string StringText(UINT id) {
    char text[260] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

std::string SettingsFailedPrefix() {
    const std::string format = StringText(IDS_SETTINGS_FILE_FAILED);
    return format.substr(0, format.find('%'));
}

// The dwStored that a page found in a stored stream, as the store reads a short one.
uint32_t StoredFlag(const Bytes& stream) {
    return StoredRecord(stream).dwStored;
}

// The settings file and whatever the program made beside it: backups, a shadow left over.
std::vector<std::string> SettingsFiles(const Installation& installation) {
    std::vector<std::string> names;
    for (const std::string& name : installation.UserFiles())
        if (name.rfind("Tolvan.dat", 0) == 0)
            names.push_back(name);
    return names;
}

class DamagedSettingsFile : public testing::TestWithParam<std::size_t> {
protected:
    Installation installation;
};

TEST_P(DamagedSettingsFile, StartsWithoutLosingWhatTheUserHad) {
    const Case& c = kCases[GetParam()];
    Base base{SettingsContent::Read(installation.TemplateFile()), {}};
    ASSERT_FALSE(base.content.model.empty());
    ASSERT_EQ(base.content.jobs.size(), std::size(kJobs)) << "the template offers every job";
    base.image = base.content.Image();
    const SettingsContent templateContent = base.content;

    const Bytes damaged = c.make(base);
    const std::string file = installation.SettingsFile();
    ASSERT_TRUE(WriteFileBytes(file, damaged));
    if (c.outcome == Outcome::kOpens) {
        ASSERT_TRUE(CheckCompoundFile(damaged).Ok()) << "a case that opens must be a whole compound file";
    }

    Watchdog watchdog(std::string("starting on ") + c.name, kStartUpWatchdogSeconds);
    CRecordingApp app(installation);
    {
        MainWindowRun run(app);
        ASSERT_TRUE(run.Shown()) << "the main window did not show itself";
        EXPECT_EQ(run.Tabs().Count(), std::size(kJobs));
        const std::string failed = SettingsFailedPrefix();
        for (const std::string& message : app.messages)
            EXPECT_NE(message.rfind(failed, 0), 0u) << message;

        if (c.outcome == Outcome::kOpens) {
            // The pages work on what the file held; a length from the file never reaches past what it stored.
            // The Copy page keeps the stored device mode only when it is one; otherwise it takes the printer's own,
            // whole, whose lengths agree with its size.
            const CJobPage* copy = run.Tabs().Page(JobMask::kCopy);
            const Bytes& copyStream = base.content.jobs.at(JobMask::kCopy);
            const std::size_t copyBehind = copyStream.size() > kJobRecordSize ? copyStream.size() - kJobRecordSize : 0;
            ASSERT_NE(copy, nullptr);
            const Bytes& extra = copy->WorkingExtra();
            const std::size_t storedBound = std::min<std::size_t>(StoredRecord(copyStream).ap.dwExtraLen, copyBehind);
            const bool storedPart = extra.size() == storedBound &&
                                    std::equal(extra.begin(), extra.end(), copyStream.begin() + kJobRecordSize);
            DEVMODEA head{};
            std::memcpy(&head, extra.data(), std::min(extra.size(), sizeof head));
            const bool printersOwn = extra.size() >= offsetof(DEVMODEA, dmFields) &&
                                     extra.size() == std::size_t{head.dmSize} + head.dmDriverExtra;
            EXPECT_TRUE(storedPart || printersOwn)
                << "a Copy blob of " << extra.size() << " bytes, " << storedBound << " stored";
            const CJobPage* office = run.Tabs().Page(JobMask::kOffice);
            ASSERT_NE(office, nullptr);
            EXPECT_EQ(office->WorkingExtra().size(), 262u);
        }
        if (c.check)
            c.check(run);
    }

    if (c.outcome == Outcome::kReplaced) {
        EXPECT_EQ(SettingsFiles(installation), (std::vector<std::string>{"Tolvan.dat", "Tolvan.dat.bak"}));
        EXPECT_EQ(FileBytes(file + ".bak"), damaged) << "the damaged file is kept byte for byte";
        const SettingsContent now = SettingsContent::Read(file);
        EXPECT_EQ(now.model, templateContent.model);
        EXPECT_EQ(now.specInfo, templateContent.specInfo);
        EXPECT_EQ(now.jobs.size(), templateContent.jobs.size());
        return;
    }

    // Used as it is: no backup, and every stream a page did not save holds the bytes it had.
    EXPECT_EQ(SettingsFiles(installation), std::vector<std::string>{"Tolvan.dat"});
    const SettingsContent now = SettingsContent::Read(file);
    EXPECT_EQ(now.model, base.content.model);
    EXPECT_EQ(now.specInfo, base.content.specInfo);
    for (const auto& [mask, before] : base.content.jobs) {
        ASSERT_TRUE(now.jobs.count(mask)) << std::hex << mask;
        const Bytes& after = now.jobs.at(mask);
        if (StoredFlag(before) != 0 || StoredFlag(after) == 0) {
            EXPECT_EQ(after, before) << "job " << std::hex << mask << " changed without being saved";
            continue;
        }
        // A first save writes the whole record under its own job, and marks it stored.
        const JobRecord record = StoredRecord(after);
        EXPECT_EQ(record.ap.dwJobMask, mask);
        EXPECT_EQ(record.dwStored, 1u);
        if (mask != JobMask::kFile)
            continue;
        // The File page adds nothing but its default folder where the record had none: every other byte is the
        // stored one, a short stream's missing tail read as zero.
        JobRecord expected = StoredRecord(before);
        expected.dwStored = 1;
        expected.ap.dwJobMask = mask;
        if (expected.ap.szFolder[0] == '\0')
            std::memcpy(expected.ap.szFolder, record.ap.szFolder, sizeof expected.ap.szFolder);
        EXPECT_EQ(RecordBytes(record), RecordBytes(expected));
        EXPECT_EQ(after.size(), kJobRecordSize);
    }
}

INSTANTIATE_TEST_SUITE_P(, DamagedSettingsFile, testing::Range<std::size_t>(0, std::size(kCases)),
                         [](const testing::TestParamInfo<std::size_t>& info) { return kCases[info.param].name; });

// Some writers leave out the padding of the file's last sector, and ole32 reads every stream of such a file whole:
// it is the user's file, used as it is. The start writes nothing, and the next Apply writes the whole file, padded.
TEST(SettingsFileWithoutItsLastSectorsPadding, IsUsedAndTheNextApplyWritesItWhole) {
    Installation installation;
    SettingsContent content = SettingsContent::Read(installation.TemplateFile());
    // Every record stored once, so that the start has nothing to write; the File job's values the user's own.
    for (const JobInfo& job : kJobs) {
        JobRecord record = StoredRecord(content.jobs.at(job.mask));
        record.dwStored = 1;
        if (job.mask == JobMask::kFile) {
            record.bColorModes = 7;
            record.wColorMode = 1;
            record.wResolution = 600;
        }
        StoreRecord(content.jobs.at(job.mask), record);
    }
    const Bytes whole = content.Image();
    const std::size_t end = View(whole).DataEnd();
    ASSERT_NE(end % View(whole).SectorSize(), 0u) << "the last sector has no padding to leave out";
    const Bytes shortFile(whole.begin(), whole.begin() + end);
    const std::string file = installation.SettingsFile();
    ASSERT_TRUE(WriteFileBytes(file, shortFile));

    JobRecord applied{};
    Watchdog watchdog("starting on a file without its last sector's padding", kStartUpWatchdogSeconds);
    CRecordingApp app(installation);
    {
        MainWindowRun run(app);
        ASSERT_TRUE(run.Shown());
        EXPECT_EQ(FileBytes(file), shortFile) << "nothing was written at the start";
        ::SendMessageA(run.Window(), WM_COMMAND, MAKEWPARAM(IDC_FILE_TAB, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(run.Window(), IDC_FILE_TAB)));
        CJobPage* page = run.Tabs().ShownPage();
        ASSERT_EQ(page, run.Tabs().Page(JobMask::kFile));
        EXPECT_EQ(page->Working().wColorMode, 1);
        EXPECT_EQ(page->Working().wResolution, 600);
        EXPECT_EQ(ControlText(page, IDC_SCAN_MODE), StringText(IDS_SCAN_MODE_COLOR));

        const HWND modes = ::GetDlgItem(page->Handle(), IDC_SCAN_MODE);
        const LRESULT blackWhite =
            ::SendMessageA(modes, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(StringText(IDS_SCAN_MODE_BLACK_WHITE).c_str()));
        ASSERT_NE(blackWhite, CB_ERR);
        ::SendMessageA(modes, CB_SETCURSEL, static_cast<WPARAM>(blackWhite), 0);
        ::SendMessageA(page->Handle(), WM_COMMAND, MAKEWPARAM(IDC_SCAN_MODE, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(modes));
        ASSERT_TRUE(page->IsDirty());
        ::SendMessageA(run.Window(), WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(run.Window(), IDC_APPLY)));
        EXPECT_FALSE(page->IsDirty()) << "Apply succeeded";
        applied = page->Working();
    }
    for (const std::string& message : app.messages)
        EXPECT_NE(message.rfind(SettingsFailedPrefix(), 0), 0u) << message;
    EXPECT_EQ(SettingsFiles(installation), std::vector<std::string>{"Tolvan.dat"});
    const Bytes written = FileBytes(file);
    EXPECT_EQ(written.size() % View(whole).SectorSize(), 0u) << written.size() << " bytes";
    const CompoundFileCheck check = CheckCompoundFile(written);
    EXPECT_TRUE(check.Ok()) << DescribeCompoundFileFault(check.fault);
    EXPECT_EQ(check.missingPadding, 0u);
    EXPECT_EQ(applied.wColorMode, 4);
    SettingsContent expected = content;
    StoreRecord(expected.jobs.at(JobMask::kFile), applied);
    const SettingsContent now = SettingsContent::Read(file);
    EXPECT_EQ(now.model, expected.model);
    EXPECT_EQ(now.specInfo, expected.specInfo);
    EXPECT_EQ(now.jobs, expected.jobs);
}

// The template gets one try: when the driver's own copy cannot be used either, the program says so and ends, and
// the user's file is still there as its backup.
TEST(UnusableTemplate, EndsWithMessage141AndKeepsTheUsersFile) {
    Installation installation;
    SettingsContent content = SettingsContent::Read(installation.TemplateFile());
    content.specInfo.reset();
    content.Write(installation.TemplateFile());
    SettingsContent mine = content;
    mine.jobs.erase(JobMask::kRAvud);
    mine.Write(installation.SettingsFile());
    const Bytes before = FileBytes(installation.SettingsFile());

    Watchdog watchdog("starting with an unusable template", kStartUpWatchdogSeconds);
    CRecordingApp app(installation);
    {
        MainWindowRun run(app);
        EXPECT_FALSE(run.Shown());
    }
    std::string expected = StringText(IDS_SETTINGS_FILE_FAILED);
    expected.replace(expected.find("%s"), 2, "Tolvan.dat");
    EXPECT_EQ(app.messages, std::vector<std::string>{expected});
    EXPECT_EQ(SettingsFiles(installation), (std::vector<std::string>{"Tolvan.dat", "Tolvan.dat.bak"}));
    EXPECT_EQ(FileBytes(installation.SettingsFile() + ".bak"), before);
}

} // namespace
} // namespace tolvan::test
